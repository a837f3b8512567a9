#include "core/note_typography.h"

#include <algorithm>
#include <array>

namespace kalventa {
namespace {

// The symbols whose letter carries an index in the note, and the indices in
// words: the minimum, the maximum, breaking (разрывное), capacity (канатоёмкость).
constexpr std::string_view indexedLetters = "DFLPSl";
constexpr std::array<std::string_view, 4> wordIndices{"мин", "макс", "р", "к"};
// The index of a layer's value in its general form: PN, lN.
constexpr std::string_view layerIndex = "N";

constexpr std::string_view minus = "−";
constexpr std::string_view timesTen = "·10";
constexpr std::string_view superscriptMinus = "⁻";
constexpr std::array<std::string_view, 10> superscriptDigits{"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
constexpr std::array<std::string_view, 10> subscriptDigits{"₀", "₁", "₂", "₃", "₄", "₅", "₆", "₇", "₈", "₉"};

struct CodePoint {
    char32_t value = 0;
    std::size_t length = 1;
};

// The character at `at`; a stray byte stands for itself.
CodePoint decode(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (at + length > text.size() || length == 1)
        return {lead, 1};
    char32_t value = lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (byte(at + i) & 0x3F);
    return {value, length};
}

bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

// Latin, Greek and Cyrillic letters.
bool isLetter(char32_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7)
        || (c >= 0x370 && c <= 0x3FF) || (c >= 0x400 && c <= 0x4FF);
}

bool isWordCharacter(char32_t c)
{
    return isLetter(c) || isDigit(c);
}

class Setter {
public:
    explicit Setter(std::string_view text)
        : text_(text)
    {
    }

    std::vector<NoteRun> set()
    {
        while (at_ < text_.size()) {
            const CodePoint c = decode(text_, at_);
            if (isLetter(c.value))
                word();
            else if (!numberStartsHere() || !number())
                copy(at_ + c.length);
        }
        return std::move(runs_);
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    std::vector<NoteRun> runs_;

    bool digitAt(std::size_t i) const { return i < text_.size() && isDigit(static_cast<unsigned char>(text_[i])); }
    bool byteAt(std::size_t i, char byte) const { return i < text_.size() && text_[i] == byte; }

    void emit(std::string_view piece, bool index = false)
    {
        if (piece.empty())
            return;
        if (runs_.empty() || runs_.back().index != index)
            runs_.push_back({{}, index});
        runs_.back().text.append(piece);
    }

    void copy(std::size_t end)
    {
        emit(text_.substr(at_, end - at_));
        at_ = end;
    }

    std::size_t wordEnd(std::size_t from) const
    {
        while (from < text_.size()) {
            const CodePoint c = decode(text_, from);
            if (!isWordCharacter(c.value))
                break;
            from += c.length;
        }
        return from;
    }

    // A word as written, or a symbol with its index lowered.
    void word()
    {
        const std::size_t end = wordEnd(at_);
        const std::string_view whole = text_.substr(at_, end - at_);
        const std::string_view index = whole.substr(1);
        const bool symbolLetter = indexedLetters.find(whole[0]) != std::string_view::npos;
        if (symbolLetter && !index.empty()
            && std::all_of(index.begin(), index.end(), [](char c) { return isDigit(static_cast<unsigned char>(c)); })) {
            emit(whole.substr(0, 1));
            for (const char digit : index)
                emit(subscriptDigits[static_cast<std::size_t>(digit - '0')]);
        } else if (symbolLetter
                   && (index == layerIndex
                       || std::find(wordIndices.begin(), wordIndices.end(), index) != wordIndices.end())) {
            emit(whole.substr(0, 1));
            emit(index, true);
        } else {
            emit(whole);
        }
        at_ = end;
    }

    // A digit, a point before a digit, or a minus before either, where no
    // word or number goes on.
    bool numberStartsHere() const
    {
        if (at_ > 0) {
            std::size_t before = at_ - 1;
            while (before > 0 && (static_cast<unsigned char>(text_[before]) & 0xC0) == 0x80)
                --before;
            const char32_t previous = decode(text_, before).value;
            if (isWordCharacter(previous) || previous == '.')
                return false;
        }
        std::size_t from = at_;
        if (byteAt(from, '-'))
            ++from;
        return digitAt(from) || (byteAt(from, '.') && digitAt(from + 1));
    }

    // Sets the number at `at_`; false, having set nothing, when what starts
    // here is not one.
    bool number()
    {
        std::size_t i = at_;
        const bool negative = byteAt(i, '-');
        if (negative)
            ++i;
        const std::size_t whole = i;
        while (digitAt(i))
            ++i;
        const std::string_view wholeDigits = text_.substr(whole, i - whole);
        std::string_view fraction;
        if (byteAt(i, '.') && byteAt(i + 1, '#')) {
            // A special value (1.#INF, -1.#IND): as the labels write it.
            i += 2;
            while (i < text_.size() && isLetter(static_cast<unsigned char>(text_[i])))
                ++i;
            copy(i);
            return true;
        }
        if (byteAt(i, '.') && digitAt(i + 1)) {
            const std::size_t from = ++i;
            while (digitAt(i))
                ++i;
            fraction = text_.substr(from, i - from);
        }
        bool exponentNegative = false;
        std::string_view exponent;
        if (byteAt(i, 'E') || byteAt(i, 'e')) {
            std::size_t from = i + 1;
            const bool signed_ = byteAt(from, '+') || byteAt(from, '-');
            exponentNegative = byteAt(from, '-');
            if (signed_)
                ++from;
            if (digitAt(from)) {
                i = from;
                while (digitAt(i))
                    ++i;
                exponent = text_.substr(from, i - from);
            }
        }
        // A date, a version or a word that starts with digits: left whole.
        const bool goesOn
            = (i < text_.size() && isWordCharacter(decode(text_, i).value)) || (byteAt(i, '.') && digitAt(i + 1));
        if (goesOn) {
            std::size_t end = i;
            while (end < text_.size()
                   && (isWordCharacter(decode(text_, end).value) || (byteAt(end, '.') && digitAt(end + 1))))
                end += decode(text_, end).length;
            copy(end);
            return true;
        }

        if (negative)
            emit(minus);
        emit(wholeDigits.empty() ? std::string_view("0") : wholeDigits);
        if (!fraction.empty()) {
            emit(",");
            emit(fraction);
        }
        if (!exponent.empty()) {
            emit(timesTen);
            if (exponentNegative)
                emit(superscriptMinus);
            const std::size_t significant = std::min(exponent.find_first_not_of('0'), exponent.size() - 1);
            for (const char digit : exponent.substr(significant))
                emit(superscriptDigits[static_cast<std::size_t>(digit - '0')]);
        }
        at_ = i;
        return true;
    }
};

} // namespace

std::vector<NoteRun> noteTypography(std::string_view text)
{
    return Setter(text).set();
}

} // namespace kalventa
