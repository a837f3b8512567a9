#include "core/calculation_file.h"

#include "core/calculation_file_keys.h"
#include "core/meanings.h"
#include "core/utf8.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <string>

namespace kalventa {
namespace {

using Json = nlohmann::ordered_json;

std::string inQuotes(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

// A place in the file as a person reads it: «rope_check → inputs → load_weight_kg».
std::string placeOf(std::initializer_list<std::string_view> keys)
{
    std::string place;
    for (const std::string_view key : keys) {
        if (!place.empty())
            place += " → ";
        place += key;
    }
    return inQuotes(place);
}

std::string_view typeName(const Json& value)
{
    switch (value.type()) {
    case Json::value_t::null: return "null";
    case Json::value_t::boolean: return "логическое значение";
    case Json::value_t::string: return "текст";
    case Json::value_t::object: return "объект";
    case Json::value_t::array: return "массив";
    default: return "число";
    }
}

[[noreturn]] void wrongType(std::initializer_list<std::string_view> place, std::string_view expected, const Json& found)
{
    throw CalculationFileError("значение " + placeOf(place) + " должно быть " + std::string(expected) + ", а в файле "
                               + std::string(typeName(found)));
}

// The line and column of a byte, counted from 1, as an editor shows them.
std::string lineAndColumn(std::string_view bytes, std::size_t position)
{
    position = std::min(position, bytes.size());
    const std::string_view before = bytes.substr(0, position);
    const std::size_t line = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
    const std::size_t lineStart = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
    const std::size_t column = utf8Length(before.substr(lineStart)) + 1;
    return "строка " + std::to_string(line) + ", столбец " + std::to_string(column);
}

constexpr int maxNesting = 32;

Json parsed(std::string_view bytes)
{
    if (const std::optional<std::size_t> bad = firstInvalidUtf8(bytes))
        throw CalculationFileError("текст файла не в кодировке UTF-8 (" + lineAndColumn(bytes, *bad) + ")");
    // A calculation file nests four deep; far deeper nesting is refused as
    // it is read, before the copies and the clean-up of so deep a tree would
    // run out of stack.
    const Json::parser_callback_t limitDepth = [](int depth, Json::parse_event_t, Json&) {
        if (depth > maxNesting)
            throw CalculationFileError("в файле JSON вложен глубже " + std::to_string(maxNesting) + " уровней");
        return true;
    };
    try {
        return Json::parse(bytes, limitDepth);
    } catch (const Json::parse_error& error) {
        // The position is that of the byte after the one that broke it.
        const std::size_t at = error.byte > 0 ? error.byte - 1 : 0;
        if (at >= bytes.size())
            throw CalculationFileError("файл обрывается, не закончив JSON");
        throw CalculationFileError("это не JSON: ошибка в тексте (" + lineAndColumn(bytes, at) + ")");
    } catch (const Json::out_of_range&) {
        // No number of a calculation file is a JSON number beyond a Double.
        throw CalculationFileError("в файле число вне допустимого диапазона");
    }
}

// The header: format and version, before anything else is looked at.
void checkHeader(const Json& document)
{
    if (!document.is_object())
        throw CalculationFileError("это не файл расчёта Кальвенты: в файле " + std::string(typeName(document))
                                   + " JSON, а не объект");
    const auto format = document.find("format");
    if (format == document.end() || !format->is_string() || *format != calculationFileFormat)
        throw CalculationFileError("это не файл расчёта Кальвенты: нет метки «\"format\": \""
                                   + std::string(calculationFileFormat) + "\"»");
    const auto version = document.find("version");
    if (version == document.end() || !version->is_number_integer())
        throw CalculationFileError("в файле нет номера версии формата («version»)");
    if (version->is_number_unsigned() && version->get<std::uint64_t>() > calculationFileVersion)
        throw CalculationFileError("файл записан более новой версией программы (формат версии " + version->dump()
                                   + "); эта версия читает формат версии " + std::to_string(calculationFileVersion)
                                   + ": обновите программу");
    if (*version != calculationFileVersion)
        throw CalculationFileError("неизвестная версия формата: " + version->dump());
}

// The object under `key`, or null when the key is absent.
const Json* objectAt(const Json& parent, std::string_view key, std::initializer_list<std::string_view> place)
{
    const auto it = parent.find(key);
    if (it == parent.end())
        return nullptr;
    if (!it->is_object())
        wrongType(place, "объектом", *it);
    return &*it;
}

std::string textAt(const Json& value, std::initializer_list<std::string_view> place)
{
    if (!value.is_string())
        wrongType(place, "текстом", value);
    return value.get<std::string>();
}

std::optional<ChosenItem> choiceAt(const Json& value, const ChoiceKey& key,
                                   std::initializer_list<std::string_view> place)
{
    if (value.is_null())
        return std::nullopt;
    if (!value.is_object())
        wrongType(place, "объектом с полями «index» и «text» или null", value);
    const auto index = value.find("index");
    const auto text = value.find("text");
    if (index == value.end() || text == value.end())
        throw CalculationFileError("у значения " + placeOf(place) + " нет поля «index» или «text»");
    if (!index->is_number_integer())
        wrongType(place, "целым номером в поле «index»", *index);
    if (!text->is_string())
        wrongType(place, "текстом в поле «text»", *text);
    // A list's items are counted by the window it is opened in (fileMisfits).
    const std::uint64_t limit = key.options > 0 ? static_cast<std::uint64_t>(key.options)
                                                : static_cast<std::uint64_t>(std::numeric_limits<std::int16_t>::max());
    const bool inRange = index->is_number_unsigned() && index->get<std::uint64_t>() < limit;
    if (!inRange)
        throw CalculationFileError("номер выбора " + index->dump() + " в " + placeOf(place) + " вне допустимого"
                                   + (key.options > 0 ? " (0 … " + std::to_string(key.options - 1) + ")" : ""));
    return ChosenItem{index->get<int>(), text->get<std::string>()};
}

// One calculation's object: each key the calculation has is read, an absent
// one noted; keys this version does not know are left for the next save.
SavedCalculation calculationAt(const Json& document, const KeySet& keys, std::vector<std::string>& notices)
{
    SavedCalculation saved;
    const Json* object = objectAt(document, keys.fileKey, {keys.fileKey});
    if (object == nullptr) {
        notices.push_back("В файле нет сведений о расчёте «" + std::string(keys.title)
                          + "»: его поля оставлены как в новом расчёте.");
        return saved;
    }
    if (const auto ran = object->find("ran"); ran != object->end()) {
        if (!ran->is_boolean())
            wrongType({keys.fileKey, "ran"}, "логическим значением (true или false)", *ran);
        saved.ran = ran->get<bool>();
    }
    const Json* inputs = objectAt(*object, "inputs", {keys.fileKey, "inputs"});
    for (const InputKey& input : keys.inputs) {
        const auto it = inputs == nullptr ? Json::const_iterator{} : inputs->find(input.fileKey);
        if (inputs == nullptr || it == inputs->end())
            notices.push_back("В файле нет значения «" + std::string(input.name) + "» расчёта «"
                              + std::string(keys.title) + "» (" + std::string(input.fileKey)
                              + "): поле оставлено как в новом расчёте.");
        else
            saved.inputs.emplace(input.fileKey, textAt(*it, {keys.fileKey, "inputs", input.fileKey}));
    }
    const Json* choices = objectAt(*object, "choices", {keys.fileKey, "choices"});
    for (const ChoiceKey& choice : keys.choices) {
        const auto it = choices == nullptr ? Json::const_iterator{} : choices->find(choice.fileKey);
        if (choices == nullptr || it == choices->end())
            notices.push_back("В файле нет выбора «" + std::string(choice.name) + "» расчёта «"
                              + std::string(keys.title) + "» (" + std::string(choice.fileKey)
                              + "): оставлено как в новом расчёте.");
        else
            saved.choices.emplace(choice.fileKey, choiceAt(*it, choice, {keys.fileKey, "choices", choice.fileKey}));
    }
    if (const Json* results = objectAt(*object, "results", {keys.fileKey, "results"}))
        for (const ResultKey& result : keys.results)
            if (const auto it = results->find(result.fileKey); it != results->end())
                saved.results.emplace(result.fileKey, textAt(*it, {keys.fileKey, "results", result.fileKey}));
    return saved;
}

struct TitleField {
    std::string_view key;
    std::string TitleData::*field;
};

// clang-format off
constexpr std::array titleFields{
    TitleField{"object", &TitleData::object},
    TitleField{"designation", &TitleData::designation},
    TitleField{"organisation", &TitleData::organisation},
    TitleField{"developer", &TitleData::developer},
    TitleField{"checker", &TitleData::checker},
    TitleField{"standards_checker", &TitleData::standardsChecker},
    TitleField{"approver", &TitleData::approver},
};
// clang-format on

TitleData titleAt(const Json& document)
{
    TitleData title;
    const Json* object = objectAt(document, "title", {"title"});
    if (object == nullptr)
        return title;
    for (const TitleField& field : titleFields)
        if (const auto it = object->find(field.key); it != object->end())
            title.*field.field = textAt(*it, {"title", field.key});
    if (const auto frame = object->find("frame"); frame != object->end()) {
        if (!frame->is_boolean())
            wrongType({"title", "frame"}, "логическим значением (true или false)", *frame);
        title.frame = frame->get<bool>();
    }
    return title;
}

Json choiceJson(const std::optional<ChosenItem>& choice)
{
    if (!choice)
        return nullptr;
    Json item = Json::object();
    item["index"] = choice->index;
    item["text"] = choice->text;
    return item;
}

// Writes one calculation into `object`, over what a read file held there.
void putCalculation(Json& object, const SavedCalculation& saved, const KeySet& keys, bool withRuns)
{
    if (!object.is_object())
        object = Json::object();
    if (withRuns)
        object["ran"] = saved.ran;
    Json& inputs = object["inputs"];
    for (const InputKey& input : keys.inputs)
        if (const auto it = saved.inputs.find(input.fileKey); it != saved.inputs.end())
            inputs[std::string(input.fileKey)] = it->second;
    if (inputs.is_null())
        inputs = Json::object();
    Json& choices = object["choices"];
    for (const ChoiceKey& choice : keys.choices)
        if (const auto it = saved.choices.find(choice.fileKey); it != saved.choices.end())
            choices[std::string(choice.fileKey)] = choiceJson(it->second);
    if (choices.is_null())
        choices = Json::object();
    if (!withRuns)
        return;
    // The results are those of the last save, or none.
    Json results = Json::object();
    for (const ResultKey& result : keys.results)
        if (const auto it = saved.results.find(result.fileKey); it != saved.results.end())
            results[std::string(result.fileKey)] = it->second;
    object["results"] = std::move(results);
}

} // namespace

std::string writeCalculationFile(const CalculationFile& file)
{
    Json document = Json::object();
    document["format"] = calculationFileFormat;
    document["version"] = calculationFileVersion;
    if (!file.readFrom.empty()) {
        // Keys of a later version stay where they were; ours are written over.
        Json read = Json::parse(file.readFrom, nullptr, false);
        if (read.is_object()) {
            read["format"] = calculationFileFormat;
            read["version"] = calculationFileVersion;
            document = std::move(read);
        }
    }
    Json& title = document["title"];
    if (!title.is_object())
        title = Json::object();
    for (const TitleField& field : titleFields)
        title[std::string(field.key)] = file.title.*field.field;
    title["frame"] = file.title.frame;
    for (const KeySet& keys : calculationKeys())
        putCalculation(document[std::string(keys.fileKey)], file.of(keys.id), keys, true);
    if (file.rulesCheck)
        putCalculation(document[std::string(rulesCheckKeys().fileKey)], *file.rulesCheck, rulesCheckKeys(), false);
    else
        document.erase(std::string(rulesCheckKeys().fileKey));
    // Texts the window holds are UTF-8; a stray byte becomes U+FFFD, not a failed save.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string resultsAsJson(const CalculationFile& file)
{
    Json document = Json::object();
    for (const KeySet& keys : calculationKeys()) {
        const SavedCalculation& saved = file.of(keys.id);
        if (!saved.ran)
            continue;
        Json& results = document[std::string(keys.fileKey)] = Json::object();
        for (const ResultKey& result : keys.results)
            if (const auto it = saved.results.find(result.fileKey); it != saved.results.end())
                results[std::string(result.fileKey)] = it->second;
    }
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string resultsAsText(const CalculationFile& file)
{
    std::string text;
    for (const KeySet& keys : calculationKeys()) {
        const SavedCalculation& saved = file.of(keys.id);
        if (!saved.ran)
            continue;
        text.append(keys.title).append("\n");
        for (const ResultKey& result : keys.results) {
            const auto it = saved.results.find(result.fileKey);
            const QuantityEntry* entry = entryShownIn(result.label);
            if (it == saved.results.end() || entry == nullptr)
                continue;
            const std::string shown
                = entry->role == Role::Verdict ? inQuotes(it->second) : resultInWords(*entry, it->second);
            text.append(entry->spokenResult).append(": ").append(shown).append("\n");
        }
    }
    return text;
}

FileReading readCalculationFile(std::string_view bytes)
{
    if (bytes.size() > calculationFileLimit)
        throw CalculationFileError("файл больше " + std::string(calculationFileLimitText));
    const Json document = parsed(bytes);
    checkHeader(document);
    FileReading reading;
    reading.file.title = titleAt(document);
    for (const KeySet& keys : calculationKeys())
        reading.file.of(keys.id) = calculationAt(document, keys, reading.notices);
    if (document.contains(rulesCheckKeys().fileKey)) {
        std::vector<std::string> ignored; // an older check may lack a new input: its default stands
        reading.file.rulesCheck = calculationAt(document, rulesCheckKeys(), ignored);
    }
    reading.file.readFrom = std::string(bytes);
    return reading;
}

} // namespace kalventa
