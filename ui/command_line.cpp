#include "ui/command_line.h"

#include <array>
#include <optional>
#include <vector>

namespace kalventa::ui {
namespace {

struct Option {
    std::string_view longName;
    std::string_view shortName; // empty when it has none
    bool takesValue;
};

// clang-format off
constexpr std::array options{
    Option{"--report",  "",   true},
    Option{"--output",  "-o", true},
    Option{"--results", "",   true},
    Option{"--json",    "",   false},
    Option{"--help",    "",   false},
    Option{"--version", "",   false},
};
// clang-format on

const Option* optionNamed(std::string_view name)
{
    for (const Option& option : options)
        if (name == option.longName || (!option.shortName.empty() && name == option.shortName))
            return &option;
    return nullptr;
}

CommandLine mistake(std::string text)
{
    CommandLine command;
    command.mode = Mode::Mistake;
    command.mistake = std::move(text);
    return command;
}

std::string quoted(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

} // namespace

CommandLine parseCommandLine(std::span<const std::string> arguments)
{
    CommandLine command;
    std::optional<std::string> report;
    std::optional<std::string> results;
    std::optional<std::string> output;
    bool help = false;
    bool version = false;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        std::string_view argument = arguments[at];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            files.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // "--report=FILE" as well as "--report FILE".
        std::optional<std::string> attached;
        if (const std::size_t equals = argument.find('='); argument.starts_with("--") && equals != std::string::npos) {
            attached = std::string(argument.substr(equals + 1));
            argument = argument.substr(0, equals);
        }
        const Option* option = optionNamed(argument);
        if (option == nullptr)
            return mistake("неизвестный параметр " + quoted(argument));
        std::string value;
        if (option->takesValue) {
            if (attached) {
                value = *attached;
            } else if (at + 1 < arguments.size()) {
                value = arguments[++at];
            } else {
                return mistake("у параметра " + quoted(argument) + " нет значения");
            }
            if (value.empty())
                return mistake("у параметра " + quoted(argument) + " пустое значение");
        } else if (attached) {
            return mistake("параметр " + quoted(argument) + " не принимает значения");
        }
        if (option->longName == "--report")
            report = value;
        else if (option->longName == "--results")
            results = value;
        else if (option->longName == "--output")
            output = value;
        else if (option->longName == "--json")
            command.json = true;
        else if (option->longName == "--help")
            help = true;
        else
            version = true;
    }

    if (help) {
        command.mode = Mode::Help;
        return command;
    }
    if (version) {
        command.mode = Mode::Version;
        return command;
    }
    if (report && results)
        return mistake("параметры «--report» и «--results» не задаются вместе");
    if (files.size() > (report || results ? 0U : 1U))
        return mistake("лишний аргумент " + quoted(files[report || results ? 0 : 1]));
    if (output && !report)
        return mistake("параметр «--output» задаёт файл записки для «--report»");
    if (command.json && !results)
        return mistake("параметр «--json» относится к «--results»");
    if (report) {
        if (!output)
            return mistake("не задан файл записки: «--report ФАЙЛ -o ЗАПИСКА.pdf»");
        command.mode = Mode::Report;
        command.file = *report;
        command.output = *output;
    } else if (results) {
        command.mode = Mode::Results;
        command.file = *results;
    } else if (!files.empty()) {
        command.file = files.front();
    }
    return command;
}

bool asksForNoWindow(std::span<const std::string> arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "--")
            return false;
        const std::string_view name = std::string_view(argument).substr(0, argument.find('='));
        if (const Option* option = optionNamed(name); option != nullptr)
            return true;
    }
    return false;
}

std::string helpText()
{
    return "Использование: kalventa [ФАЙЛ]\n"
           "  или:  kalventa --report ФАЙЛ -o ЗАПИСКА.pdf\n"
           "  или:  kalventa --results ФАЙЛ [--json]\n"
           "Расчёт грузового каната и барабана лебёдки.\n"
           "\n"
           "Без аргументов открывает окно нового расчёта, с ФАЙЛОМ расчёта (.kalventa) —\n"
           "окно с этим расчётом. Расчёты, выполненные в файле, выполняются заново.\n"
           "\n"
           "  --report ФАЙЛ       записать расчётную записку расчёта из ФАЙЛА в PDF,\n"
           "                        не показывая окна\n"
           "  -o, --output ЗАПИСКА.pdf  файл записки для --report\n"
           "  --results ФАЙЛ      вывести результаты расчёта из ФАЙЛА, каждый строкой\n"
           "  --json              вывести результаты в JSON (с --results)\n"
           "  --help              показать эту справку и выйти\n"
           "  --version           показать версию и выйти\n"
           "\n"
           "Код завершения: 0 — успешно; 1 — файл не прочитан или не записан, или расчёт\n"
           "остановлен ошибкой; 2 — неверные аргументы.\n";
}

std::string versionText()
{
    return "kalventa (Кальвента) " KALVENTA_VERSION "\n"
           "Copyright (C) 2026 Kalventa developers\n"
           "Лицензия MIT; шрифт Liberation Sans — SIL Open Font License 1.1.\n"
           "Это свободная программа: её можно изменять и распространять.\n"
           "Нет НИКАКИХ ГАРАНТИЙ.\n";
}

std::string mistakeText(std::string_view mistake)
{
    return "kalventa: " + std::string(mistake) + "\nПодробнее: kalventa --help\n";
}

} // namespace kalventa::ui
