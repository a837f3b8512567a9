// Arbitrary bytes as a calculation file. Whatever the bytes, the reader
// either takes the file or refuses it with its reason; nothing else may
// throw, crash, hang or touch memory it should not. A file it takes is
// written again as the same file twice over, and given to a window, which
// either refuses it or takes it and runs its calculations.

#include "core/calculation_file.h"
#include "core/calculation_file_window.h"
#include "core/calculation_table.h"
#include "core/runtime_error.h"
#include "table_window.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace kalventa;
using kalventa::testing::TableWindow;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The file as this version writes what it read.
std::string rewritten(std::string_view bytes)
{
    return writeCalculationFile(readCalculationFile(bytes).file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FileReading reading;
    try {
        reading = readCalculationFile(bytes);
    } catch (const CalculationFileError& error) {
        require(std::string_view(error.what()).size() > 0);
        return 0;
    }
    const std::string once = writeCalculationFile(reading.file);
    require(rewritten(once) == once);

    TableWindow window;
    window.fieldLimit = 4096;
    if (!fileMisfits(reading.file, window, nullptr).empty())
        return 0;
    applyFile(reading.file, window);
    for (const CalculationId id : calculationsRun(reading.file)) {
        try {
            calculation(id).run(window);
        } catch (const RuntimeError&) {
            // A run-time error ends a calculation as a button press would.
        }
    }
    resultDifferences(reading.file, window);
    return 0;
}
