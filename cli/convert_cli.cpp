#include "convert_cli.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <istream>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fd_buffer.h"
#include "json_text.h"
#include "rule.h"
#include "tolvu/version.h"
#include "unit_names.h"
#include "units.h"

namespace tolvu::cli {
namespace {

constexpr std::string_view kUsage = "Usage: tolvu-convert [--json] [--strict] SOURCE [TEXT...]\n"
                                    "       tolvu-convert --list | --names | -h | --help | -V | --version\n";

constexpr std::string_view kHelp = "\n"
                                   "Converts each TEXT as if it had been typed into the unit box SOURCE and\n"
                                   "prints what the other boxes of its group then show. Without a TEXT, reads\n"
                                   "one text per line from standard input.\n"
                                   "\n"
                                   "SOURCE is a box name (kmBox), a unit name or a symbol (km, kilometres,\n"
                                   "degF); 'tolvu-convert --list' shows every accepted name.\n"
                                   "\n"
                                   "Options may stand anywhere before '--', after SOURCE too. An argument that\n"
                                   "starts with '-' and a digit or a full stop is a TEXT, so '-.5' is one and\n"
                                   "'tolvu-convert c -40' converts minus forty degrees Celsius; any other\n"
                                   "argument that starts with '-' is an option. After '--' every argument is\n"
                                   "SOURCE or a TEXT.\n"
                                   "\n"
                                   "A TEXT is read like the content of a box: blanks are ignored, the leading\n"
                                   "number counts and the rest is ignored, so '1,5' is 1 and 'abc' is 0; an\n"
                                   "empty TEXT empties the other boxes.\n"
                                   "\n"
                                   "Options:\n"
                                   "  --json         print one JSON object per text, one per line\n"
                                   "  --strict       refuse a TEXT that is not one whole number, blanks aside\n"
                                   "                 ('1,5', 'abc', '1e', '.', an empty or blank TEXT) instead of\n"
                                   "                 reading its leading number or emptying the boxes;\n"
                                   "                 ' 1 000 ', '+3' and '1e5' pass\n"
                                   "  --list         list the accepted unit names, group by group\n"
                                   "  --names        print every accepted unit name, one per line\n"
                                   "  -h, --help     show this help\n"
                                   "  -V, --version  show the version\n"
                                   "  --             end the options: what follows is SOURCE or a TEXT\n"
                                   "\n"
                                   "Exit status:\n"
                                   "  0  every text converted\n"
                                   "  1  a text was not converted: it is too large a number, a result is too\n"
                                   "     large in its unit, or --strict refused it; the other texts are\n"
                                   "     still converted\n"
                                   "  2  a usage error, such as an unknown option wherever it stands\n"
                                   "  3  the input could not be read or the output written, also for want of\n"
                                   "     memory for a gigantic line; this ends the program at once\n";

constexpr std::string_view kListNotes = "Names match whatever their case and ignore blanks, hyphens, underscores\n"
                                        "and full stops, so \"Metric-Ton\" and \"fl. oz.\" are accepted.\n"
                                        "Short names chosen on purpose: m is the metre (the minute is min), t and mt\n"
                                        "the metric ton, oz the ounce of weight (the fluid ounce is floz), c and f\n"
                                        "the degrees Celsius and Fahrenheit, k the kelvin. The volume units are US\n"
                                        "liquid measures.\n";

// Flushing is left to this buffer: converting a file must not pay a system
// call per line.
constexpr std::size_t kFlushThreshold = 64 * 1024;

std::array<std::string, kBoxCount> buildPlainCaptions()
{
    std::array<std::string, kBoxCount> captions;
    for (const BoxInfo& info : allBoxes()) {
        std::string& c = captions[static_cast<std::size_t>(info.box)];
        std::remove_copy(info.caption.begin(), info.caption.end(), std::back_inserter(c), '&');
    }
    return captions;
}

// The caption of a box's label without its access-key marker: "Fluid Oz:".
std::string_view plainCaption(Box box)
{
    static const std::array<std::string, kBoxCount> captions = buildPlainCaptions();
    return captions[static_cast<std::size_t>(box)];
}

// A unit as --list shows it, without the caption's colon: "Millimeters".
std::string_view unitCaption(Box box)
{
    const std::string_view caption = plainCaption(box);
    return caption.substr(0, caption.find(':'));
}

// The output on its way out, in large pieces. Captions and number texts are
// moved a fixed 32 bytes whatever their length, which costs far less than a
// copy sized at run time; what lands past the end is overwritten next.
class OutputBuffer {
public:
    static constexpr std::size_t kShort = NumberText::kCapacity;
    using Short = std::array<char, kShort>;

    explicit OutputBuffer(std::size_t capacity) : bytes_(capacity + kShort, '\0') {}

    std::string_view view() const { return {bytes_.data(), size_}; }
    std::size_t size() const { return size_; }
    void clear() { size_ = 0; }
    void cut(std::size_t size) { size_ = std::min(size, size_); }

    void append(std::string_view s)
    {
        std::memcpy(room(s.size()), s.data(), s.size());
        size_ += s.size();
    }
    void push_back(char c)
    {
        *room(1) = c;
        ++size_;
    }
    // The first `size` bytes of `s`.
    void appendShort(const Short& s, std::size_t size)
    {
        std::memcpy(room(kShort), s.data(), kShort);
        size_ += size;
    }

private:
    char* room(std::size_t n)
    {
        if (size_ + n > bytes_.size()) bytes_.resize(std::max(2 * bytes_.size(), size_ + n));
        return bytes_.data() + size_;
    }
    std::string bytes_; // its own size is the capacity
    std::size_t size_ = 0;
};

// A caption or JSON opening, moved whole by OutputBuffer::appendShort: at
// most 32 bytes, the longest being the 28 of {"box":"celciusBox","text":".
struct ShortText {
    OutputBuffer::Short bytes{};
    std::size_t size = 0;

    ShortText() = default;
    explicit ShortText(std::string_view s) : size(s.size()) { s.copy(bytes.data(), bytes.size()); }
};

// What every text converted from one source repeats, worked out once: each
// writable box's caption padded to the column of texts, the widest caption
// among them setting it, and its JSON opening.
class Layout {
public:
    explicit Layout(Box source) : source_(boxInfo(source).name)
    {
        std::size_t width = 0;
        for (Box b : groupInfo(boxInfo(source).group).members) {
            if (b != source) width = std::max(width, plainCaption(b).size());
        }
        for (Box b : groupInfo(boxInfo(source).group).members) {
            if (b == source) continue; // never written, and may be the widest
            const auto i = static_cast<std::size_t>(b);
            caption_[i] = ShortText(plainCaption(b));
            padded_[i] = ShortText(std::string(plainCaption(b)).append(width + 2 - plainCaption(b).size(), ' '));
            jsonBox_[i] = ShortText(std::string("{\"box\":\"").append(boxInfo(b).name).append("\",\"text\":\""));
        }
    }

    // The lines one converted text prints: each written box's caption and text.
    void appendText(OutputBuffer& out, const Recalculation& r) const
    {
        for (const Write& w : r.writes()) {
            const auto i = static_cast<std::size_t>(w.target);
            // An emptied box shows nothing, and no trailing blanks either.
            const ShortText& caption = w.text.empty() ? caption_[i] : padded_[i];
            out.appendShort(caption.bytes, caption.size);
            out.appendShort(w.text.storage(), w.text.view().size());
            out.push_back('\n');
        }
    }

    // One JSON object, without a line end, for `text`, or for `text` refused
    // as not a number.
    void appendJson(OutputBuffer& out, std::string_view text, const Recalculation& r, bool refused) const
    {
        out.append("{\"source\":\"");
        out.append(source_);
        out.append("\",\"text\":");
        quoted_.clear();
        appendJsonString(quoted_, text);
        out.append(quoted_);
        out.append(",\"writes\":[");
        for (const Write& w : r.writes()) {
            const ShortText& opening = jsonBox_[static_cast<std::size_t>(w.target)];
            if (&w != r.writes().data()) out.push_back(',');
            out.appendShort(opening.bytes, opening.size);
            // Number text is plain ASCII digits, signs, points and E: nothing to escape.
            out.appendShort(w.text.storage(), w.text.view().size());
            out.append("\"}");
        }
        out.append("],\"error\":");
        if (refused) {
            out.append("\"not a number\"}");
        } else if (const std::optional<Box> at = r.overflowAt()) {
            out.append("\"overflow\",\"at\":\"");
            out.append(boxInfo(*at).name);
            out.append("\"}");
        } else {
            out.append("null}");
        }
    }

private:
    std::string_view source_;
    std::array<ShortText, kBoxCount> caption_;
    std::array<ShortText, kBoxCount> padded_;
    std::array<ShortText, kBoxCount> jsonBox_;
    mutable std::string quoted_; // kept to spare an allocation per text
};

// Arguments and input lines may hold anything; quoting them the JSON way
// keeps control characters out of the terminal, and cutting a long one keeps
// a stray megabyte out of it: "12345..."... (100000 bytes).
std::string quoted(std::string_view text)
{
    constexpr std::size_t kShown = 40;
    std::string s;
    if (text.size() <= kShown) {
        appendJsonString(s, text);
        return s;
    }
    // Cut before a UTF-8 character rather than inside it.
    std::size_t cut = kShown;
    while (cut > kShown - 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    appendJsonString(s, text.substr(0, cut));
    return s.append("... (").append(std::to_string(text.size())).append(" bytes)");
}

std::string becauseOf(int error)
{
    return error == 0 ? std::string() : std::string(": ") + std::strerror(error);
}

std::string writeFailure(const std::ostream& out)
{
    return "cannot write the output" + becauseOf(streamError(out));
}

void printList(std::ostream& out)
{
    std::size_t captionColumn = 0;
    std::size_t nameColumn = 0;
    for (const BoxInfo& info : allBoxes()) {
        captionColumn = std::max(captionColumn, plainCaption(info.box).size());
        nameColumn = std::max(nameColumn, info.name.size());
    }

    std::string text;
    for (const GroupInfo& group : allGroups()) {
        text.append(group.name).push_back('\n');
        for (Box box : group.members) {
            const BoxInfo& info = boxInfo(box);
            const std::string_view caption = plainCaption(box);
            text.append("  ").append(caption).append(captionColumn + 2 - caption.size(), ' ');
            text.append(info.name).append(nameColumn + 2 - info.name.size(), ' ');
            bool first = true;
            for (std::string_view name : namesOf(box)) {
                if (name == info.name) continue;
                if (!first) text.append(", ");
                text.append(name);
                first = false;
            }
            text.push_back('\n');
        }
        text.push_back('\n');
    }
    text.append(kListNotes);
    text.append("Refused, because they would be a guess:\n");
    const auto refused = refusedNames();
    for (auto it = refused.begin(); it != refused.end();) {
        // Names that share a reason are listed together.
        auto end = std::find_if(it, refused.end(), [&](const RefusedName& r) { return r.why != it->why; });
        text.append("  ");
        for (auto r = it; r != end; ++r)
            text.append(r == it ? "" : ", ").append(r->text);
        text.append(": ").append(it->why).push_back('\n');
        it = end;
    }
    out << text;
}

struct Invocation {
    enum class Action { Convert, List, Names, Help, Version } action = Action::Convert;
    bool json = false;
    bool strict = false;
    Box source = Box::mmBox;
    std::vector<std::string_view> texts;
};

// "-40" and "-.5" are numbers to convert; any other argument that starts
// with "-" is an option, a lone "-" too, so that it is refused rather than
// converted as the 0 of a text without a number.
bool isOption(std::string_view arg)
{
    return arg.starts_with('-') && (arg.size() == 1 || (arg[1] != '.' && (arg[1] < '0' || arg[1] > '9')));
}

// Reads the options, wherever they stand before "--", SOURCE and the texts;
// prints the complaint and gives nothing back when the arguments make no
// sense.
std::optional<Invocation> parseArguments(std::span<const std::string_view> args, std::ostream& err)
{
    Invocation inv;
    std::optional<Invocation::Action> only; // an option that ends the run by itself
    std::vector<std::string_view> operands;
    bool optionsEnded = false;
    for (const std::string_view a : args) {
        if (optionsEnded || !isOption(a)) {
            operands.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--json") {
            inv.json = true;
        } else if (a == "--strict") {
            inv.strict = true;
        } else if (a == "--list") {
            only = only.value_or(Invocation::Action::List);
        } else if (a == "--names") {
            only = only.value_or(Invocation::Action::Names);
        } else if (a == "--help" || a == "-h") {
            only = only.value_or(Invocation::Action::Help);
        } else if (a == "--version" || a == "-V") {
            only = only.value_or(Invocation::Action::Version);
        } else {
            err << kProgramName << ": unknown option " << quoted(a) << "\ntry 'tolvu-convert --help'\n";
            return std::nullopt;
        }
    }
    if (only) {
        inv.action = *only;
        return inv;
    }
    if (operands.empty()) {
        err << kProgramName << ": missing SOURCE\n" << kUsage << "try 'tolvu-convert --help'\n";
        return std::nullopt;
    }
    const std::string_view sourceName = operands.front();
    const std::optional<Box> source = findUnit(sourceName);
    if (!source) {
        if (const RefusedName* refused = findRefused(sourceName)) {
            err << kProgramName << ": " << quoted(sourceName) << " is not accepted: " << refused->why << '\n';
        } else {
            err << kProgramName << ": unknown unit " << quoted(sourceName) << '\n';
        }
        err << "try 'tolvu-convert --list'\n";
        return std::nullopt;
    }
    inv.source = *source;
    inv.texts.assign(operands.begin() + 1, operands.end());
    return inv;
}

// Converts texts one at a time into a buffer that goes out in large pieces,
// until a failure that ends the run.
class Converter {
public:
    Converter(const Invocation& inv, std::ostream& out, std::ostream& err)
        : source_(inv.source), layout_(inv.source), json_(inv.json), strict_(inv.strict), out_(out), err_(err)
    {
    }

    void convert(std::string_view text)
    {
        const std::size_t before = buffer_.size();
        try {
            append(text);
        } catch (const std::bad_alloc&) {
            // A gigantic text, in the parse's copy of its number or in its JSON
            // quoting: what was complete before it still goes out.
            buffer_.cut(before);
            stop("out of memory converting a text of " + std::to_string(text.size()) + " bytes");
        }
    }

    // Writes what the buffer holds, unless writing already failed; false
    // once the run has to end.
    bool drain(bool flush)
    {
        if (out_) {
            out_.write(buffer_.view().data(), static_cast<std::streamsize>(buffer_.size()));
            if (flush) out_.flush();
        }
        buffer_.clear();
        if (!out_) stop(writeFailure(out_));
        return !failed();
    }

    // Keeps the first reason why the run ends; the rest follows from it.
    void stop(std::string why)
    {
        if (!failed()) failure_ = std::move(why);
    }
    bool failed() const { return !failure_.empty(); }
    const std::string& failure() const { return failure_; }
    bool notConverted() const { return notConverted_; }

private:
    void append(std::string_view text)
    {
        const bool refused = strict_ && !parseNumber(text).whole;
        const Recalculation r = refused ? Recalculation() : tolvu::convert(source_, text);
        if (json_) {
            layout_.appendJson(buffer_, text, r, refused);
            buffer_.push_back('\n');
        } else {
            if (converted_ > 0) buffer_.push_back('\n');
            layout_.appendText(buffer_, r);
        }
        ++converted_;
        const std::optional<Box> at = r.overflowAt();
        if (refused || at) {
            notConverted_ = true;
            // What was printed before the complaint stays before it.
            if (!drain(true)) return;
            if (refused)
                err_ << kProgramName << ": " << quoted(text) << " is not a number\n";
            else if (parseNumber(text).overflow)
                err_ << kProgramName << ": " << quoted(text) << " is too large a number\n";
            else
                err_ << kProgramName << ": " << quoted(text) << ' ' << boxInfo(source_).symbol << " is too large in "
                     << unitCaption(*at) << '\n';
        } else if (buffer_.size() >= kFlushThreshold) {
            drain(false);
        }
    }

    Box source_;
    Layout layout_;
    bool json_;
    bool strict_;
    std::ostream& out_;
    std::ostream& err_;
    OutputBuffer buffer_{kFlushThreshold + 1024};
    std::size_t converted_ = 0;
    bool notConverted_ = false;
    std::string failure_;
};

void convertLines(Converter& converter, std::istream& in)
{
    std::string line;
    try {
        // getline turns any exception into badbit, and passes it on when
        // badbit is in the mask: so running out of memory on a gigantic line
        // is told apart from a failed read.
        in.exceptions(std::ios::badbit);
        for (;;) {
            // Show the results so far before waiting for more input, so that
            // someone typing at a terminal sees each answer at once.
            if (in.rdbuf()->in_avail() <= 0 && !converter.drain(true)) return;
            if (!std::getline(in, line)) break;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            converter.convert(line);
            if (converter.failed()) return;
        }
    } catch (const std::bad_alloc&) {
        converter.stop("out of memory reading a line of the standard input");
        return;
    } catch (const std::ios_base::failure&) {
    }
    if (in.bad() || streamError(in) != 0) converter.stop("cannot read the standard input" + becauseOf(streamError(in)));
}

// A full disk or a closed pipe must not pass for success.
int finishOutput(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (out) return kExitOk;
    err << kProgramName << ": " << writeFailure(out) << '\n';
    return kExitReadWrite;
}

int convertAll(const Invocation& inv, std::istream& in, std::ostream& out, std::ostream& err)
{
    Converter converter(inv, out, err);
    if (inv.texts.empty()) {
        convertLines(converter, in);
    } else {
        for (auto text = inv.texts.begin(); text != inv.texts.end() && !converter.failed(); ++text)
            converter.convert(*text);
    }
    converter.drain(true);
    if (converter.failed()) {
        err << kProgramName << ": " << converter.failure() << '\n';
        return kExitReadWrite;
    }
    return converter.notConverted() ? kExitNotConverted : kExitOk;
}

} // namespace

int run(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const std::optional<Invocation> inv = parseArguments(args, err);
    if (!inv) return kExitUsage;
    switch (inv->action) {
    case Invocation::Action::Help: out << kUsage << kHelp; break;
    case Invocation::Action::Version:
        out << kProgramName << " (" << version::kProductName << ") " << version::kFullVersion << '\n';
        break;
    case Invocation::Action::List: printList(out); break;
    case Invocation::Action::Names:
        for (const UnitName& name : unitNames())
            out << name.text << '\n';
        break;
    case Invocation::Action::Convert: return convertAll(*inv, in, out, err);
    }
    return finishOutput(out, err);
}

} // namespace tolvu::cli
