#pragma once
// A calculation kept as a file: what the engineer typed and chose, the title
// data of the calculation note, which calculations had been run and, for
// reference only, what their labels showed. One text format for the desktop,
// the browser and the command line: JSON, UTF-8, pretty-printed with its keys
// in a fixed order so that files compare well under version control. Keys
// are the quantities' names from the catalogue, never control names.

#include "core/catalogue.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

inline constexpr std::string_view calculationFileFormat = "kalventa-calculation";
inline constexpr int calculationFileVersion = 1;
inline constexpr std::string_view calculationFileSuffix = ".kalventa";
inline constexpr std::string_view calculationFileMediaType = "application/x-kalventa+json";
// No calculation comes near it: seven fields of a million characters each,
// every one escaped, stay under 64 MB. A larger file is refused unread.
inline constexpr std::uintmax_t calculationFileLimit = 64 * 1024 * 1024;
inline constexpr std::string_view calculationFileLimitText = "64 МБ";

// The title data of the calculation note: the object, the document's
// designation, the organisation and the four names of the title block.
struct TitleData {
    std::string object;
    std::string designation;
    std::string organisation;
    std::string developer;        // Разраб.
    std::string checker;          // Пров.
    std::string standardsChecker; // Н. контр.
    std::string approver;         // Утв.
    bool frame = false;           // the note drawn in a frame with the title block

    bool operator==(const TitleData&) const = default;
};

// A chosen option of a group or item of a list, with the text it showed.
struct ChosenItem {
    int index = 0; // the option's place in its group, the item's in its list
    std::string text;

    bool operator==(const ChosenItem&) const = default;
};

template <typename Value>
using KeyedValues = std::map<std::string, Value, std::less<>>;

// What the file keeps of one calculation (or of the check against today's
// rules), by the quantities' file keys. A key that is absent was not in the
// file; a choice without a value had nothing chosen.
struct SavedCalculation {
    KeyedValues<std::string> inputs;
    KeyedValues<std::optional<ChosenItem>> choices;
    bool ran = false;
    KeyedValues<std::string> results; // the labels' texts at the save

    bool operator==(const SavedCalculation&) const = default;
};

struct CalculationFile {
    // Indexed by CalculationId.
    std::array<SavedCalculation, 3> calculations;
    // Present when the check against today's rules had been opened.
    std::optional<SavedCalculation> rulesCheck;
    TitleData title;
    // The file as read, so that keys a later version wrote come back on the
    // next save; empty for a new calculation.
    std::string readFrom;

    SavedCalculation& of(CalculationId id) { return calculations[static_cast<std::size_t>(id)]; }
    const SavedCalculation& of(CalculationId id) const { return calculations[static_cast<std::size_t>(id)]; }
};

// Why a file cannot be taken, in Russian, lower case, without a full stop:
// "это не файл расчёта Кальвенты".
class CalculationFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file's text: pretty-printed JSON ending in a line break.
std::string writeCalculationFile(const CalculationFile& file);

struct FileReading {
    CalculationFile file;
    // What the file lacks, each a sentence: "Нет значения «…»: поле оставлено
    // как в новом расчёте."
    std::vector<std::string> notices;
};

// The results of the calculations the file had run, as their labels show
// them, by calculation and quantity: {"rope_check": {"min_rope_tension_n":
// " 275000", …}, …}; pretty-printed JSON ending in a line break.
std::string resultsAsJson(const CalculationFile& file);
// The same for a person: each calculation's title, then a line for each
// label, "Минимальный диаметр барабана: 228 мм" (a verdict as its label
// shows it, «» when empty).
std::string resultsAsText(const CalculationFile& file);

// Reads a file's bytes. Throws CalculationFileError for anything that is not
// a calculation this version can take whole.
FileReading readCalculationFile(std::string_view bytes);

} // namespace kalventa
