// TQuorvel: a single forward pass that turns RTF text into HTML, and the settings that
// shape the finished document.
#pragma once

#include "quorvel_document.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// Every failure of a conversion; the message begins with "Quorvel:".
class EQuorvelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kHeaderMissing =
    "Quorvel: RTF header is missing. Conversion aborted.";

// The host's hook, called once per input character so that its user interface stays live
// during a long conversion. The callback may run arbitrary host code, including another
// conversion with another converter object.
struct TMessagePump {
    void (*Callback)(void *context) = nullptr;
    void *Context = nullptr;
};

struct TFormatState {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool Small = false;     // the last size mapping gave a size below 2
    bool InList = false;    // inside a bulleted list
    std::uint8_t Alignment = 0; // 0 none, 1 right, 2 centre
};

struct TFontInfo {
    bool InFontTable = false; // text characters fill FontTable instead of the document
    std::int32_t FontNumber = 0;
    std::int32_t HtmlSize = 0;
    std::string FaceName;
};

enum class TQuorvelCreation { Ordinary, Designing };

class TQuorvel {
public:
    explicit TQuorvel(TQuorvelCreation how = TQuorvelCreation::Ordinary);
    virtual ~TQuorvel();
    TQuorvel(const TQuorvel &) = delete;
    TQuorvel &operator=(const TQuorvel &) = delete;

    // The five overridable operations, in this slot order.
    virtual std::string FontNameAt(std::int32_t index);
    virtual std::int32_t PointsToHtmlSize(std::int32_t points, bool &small);
    virtual std::string CharToEntity(std::int32_t code, bool listFlag);
    virtual std::string HandleControlWord(std::string_view word);
    virtual std::string TextToHtml(std::string_view text);

    // One run: the body pass over `rtf`, then the document assembly. Throws EQuorvelError.
    std::string ConvertText(std::string_view rtf);
    // Reads `source`, converts it and only then creates or replaces `target`.
    void ConvertFile(const std::string &source, const std::string &target);
    std::string ReplaceAll(std::string_view text, std::string_view name,
                           std::string_view value) const
    {
        return quorvel::ReplaceAll(text, name, value, sizeLimit_);
    }

    // Published settings. Writing a line list copies its lines.
    const TLineList &BodyOptions() const { return settings_.BodyOptions; }
    void SetBodyOptions(const TLineList &v) { settings_.BodyOptions = v; }
    const std::string &DefaultFontName() const { return settings_.DefaultFontName; }
    void SetDefaultFontName(std::string v) { settings_.DefaultFontName = std::move(v); }
    std::int32_t DefaultFontSize() const { return settings_.DefaultFontSize; }
    void SetDefaultFontSize(std::int32_t v) { settings_.DefaultFontSize = v; }
    const std::string &MetaAuthor() const { return settings_.MetaAuthor; }
    void SetMetaAuthor(std::string v) { settings_.MetaAuthor = std::move(v); }
    const std::string &MetaContentType() const { return settings_.MetaContentType; }
    void SetMetaContentType(std::string v) { settings_.MetaContentType = std::move(v); }
    const std::string &MetaDescription() const { return settings_.MetaDescription; }
    void SetMetaDescription(std::string v) { settings_.MetaDescription = std::move(v); }
    const std::string &MetaGenerator() const { return settings_.MetaGenerator; }
    void SetMetaGenerator(std::string v) { settings_.MetaGenerator = std::move(v); }
    const std::string &MetaKeywords() const { return settings_.MetaKeywords; }
    void SetMetaKeywords(std::string v) { settings_.MetaKeywords = std::move(v); }
    TQuorvelOptions Options() const { return settings_.Options; }
    void SetOptions(TQuorvelOptions v) { settings_.Options = v; }
    const TLineList &ReplaceStrings() const { return settings_.ReplaceStrings; }
    void SetReplaceStrings(const TLineList &v) { settings_.ReplaceStrings = v; }
    const std::string &Title() const { return settings_.Title; }
    void SetTitle(std::string v) { settings_.Title = std::move(v); }
    const TLineList &Headtags() const { return settings_.Headtags; }
    void SetHeadtags(const TLineList &v) { settings_.Headtags = v; }
    std::string_view Version() const { return kQuorvelVersion; }
    void SetVersion(std::string_view) {} // read-only: writing it changes nothing

    void SetMessagePump(TMessagePump pump) { pump_ = pump; }
    // The most bytes the body text may grow to before the run fails (kDefaultSizeLimit).
    void SetSizeLimit(std::size_t bytes) { sizeLimit_ = bytes; }

protected:
    bool Has(TQuorvelOption o) const { return settings_.Options.Has(o); }

    // Run state. Everything except Format.Small and ColorIndex is reset by each run.
    TFormatState Format;
    TFontInfo Font;
    std::string LastFontFace;
    std::int32_t LastFontSize = 0;
    std::vector<std::string> FontTable;
    std::vector<std::string> ColorTable;
    std::int32_t ColorIndex = 0;
    bool PlainSeen = false;

private:
    // Per FontTable entry, the number of the first entry with the same name (filled when the
    // table is closed), and that number for LastFontFace when it came from the table, else -1.
    std::vector<std::int32_t> FaceIds;
    std::int32_t LastFaceId = -1;

    void StartRun();
    std::string BodyPass(std::string_view rtf);
    std::string Assemble(std::string body);
    std::string PlainWord();
    std::string FontSizeWord(std::string_view rest);
    std::string FontFaceWord(std::string_view rest);
    void ColorTableStarts();
    std::string ColorWord(std::string_view rest);
    void ColorTableWord(std::string_view word, std::size_t prefix);

    TQuorvelSettings settings_;
    TMessagePump pump_;
    std::size_t sizeLimit_ = kDefaultSizeLimit;
};

} // namespace quorvel
