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
    void (*callback)(void *context) = nullptr;
    void *context = nullptr;
};

struct TFormatState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool small = false;         // the last size mapping gave a size below 2
    bool inList = false;        // inside a bulleted list
    std::uint8_t alignment = 0; // 0 none, 1 right, 2 centre
};

struct TFontInfo {
    bool inFontTable = false; // text characters fill fontTable instead of the document
    std::int32_t fontNumber = 0;
    std::int32_t htmlSize = 0;
    std::string faceName;
};

enum class TQuorvelCreation { Ordinary, Designing };

class TQuorvel {
public:
    explicit TQuorvel(TQuorvelCreation how = TQuorvelCreation::Ordinary);
    virtual ~TQuorvel();
    TQuorvel(const TQuorvel &) = delete;
    TQuorvel &operator=(const TQuorvel &) = delete;

    // The five overridable operations, in this slot order.
    virtual std::string fontNameAt(std::int32_t index);
    virtual std::int32_t pointsToHtmlSize(std::int32_t points, bool &small);
    virtual std::string charToEntity(std::int32_t code, bool listFlag);
    virtual std::string handleControlWord(std::string_view word);
    virtual std::string textToHtml(std::string_view text);

    // One run: the body pass over `rtf`, then the document assembly. Throws EQuorvelError.
    // Files are read and written by the library around it (quorvel::convertFile).
    std::string convertText(std::string_view rtf);
    std::string replaceAll(std::string_view text, std::string_view name,
                           std::string_view value) const
    {
        return quorvel::replaceAll(text, name, value, sizeLimit_);
    }

    // Published settings. Writing a line list copies its lines.
    const TLineList &bodyOptions() const { return settings_.bodyOptions; }
    void setBodyOptions(const TLineList &v) { settings_.bodyOptions = v; }
    const std::string &defaultFontName() const { return settings_.defaultFontName; }
    void setDefaultFontName(std::string v) { settings_.defaultFontName = std::move(v); }
    std::int32_t defaultFontSize() const { return settings_.defaultFontSize; }
    void setDefaultFontSize(std::int32_t v) { settings_.defaultFontSize = v; }
    const std::string &metaAuthor() const { return settings_.metaAuthor; }
    void setMetaAuthor(std::string v) { settings_.metaAuthor = std::move(v); }
    const std::string &metaContentType() const { return settings_.metaContentType; }
    void setMetaContentType(std::string v) { settings_.metaContentType = std::move(v); }
    const std::string &metaDescription() const { return settings_.metaDescription; }
    void setMetaDescription(std::string v) { settings_.metaDescription = std::move(v); }
    const std::string &metaGenerator() const { return settings_.metaGenerator; }
    void setMetaGenerator(std::string v) { settings_.metaGenerator = std::move(v); }
    const std::string &metaKeywords() const { return settings_.metaKeywords; }
    void setMetaKeywords(std::string v) { settings_.metaKeywords = std::move(v); }
    TQuorvelOptions options() const { return settings_.options; }
    void setOptions(TQuorvelOptions v) { settings_.options = v; }
    const TLineList &replaceStrings() const { return settings_.replaceStrings; }
    void setReplaceStrings(const TLineList &v) { settings_.replaceStrings = v; }
    const std::string &title() const { return settings_.title; }
    void setTitle(std::string v) { settings_.title = std::move(v); }
    const TLineList &headtags() const { return settings_.headtags; }
    void setHeadtags(const TLineList &v) { settings_.headtags = v; }
    std::string_view version() const { return kQuorvelVersion; }
    void setVersion(std::string_view) {} // read-only: writing it changes nothing

    void setMessagePump(TMessagePump pump) { pump_ = pump; }
    // The most bytes the body text may grow to before the run fails (kDefaultSizeLimit).
    void setSizeLimit(std::size_t bytes) { sizeLimit_ = bytes; }

protected:
    bool has(TQuorvelOption o) const { return settings_.options.has(o); }

    // Run state. Everything except Format.Small and colorIndex is reset by each run.
    TFormatState format;
    TFontInfo font;
    std::string lastFontFace;
    std::int32_t lastFontSize = 0;
    std::vector<std::string> fontTable;
    std::vector<std::string> colorTable;
    std::int32_t colorIndex = 0;
    bool plainSeen = false;

private:
    // Per fontTable entry, the number of the first entry with the same name (filled when the
    // table is closed), and that number for lastFontFace when it came from the table, else -1.
    std::vector<std::int32_t> faceIds;
    std::int32_t lastFaceId = -1;

    void startRun();
    std::string bodyPass(std::string_view rtf);
    std::string assemble(std::string body);
    std::string plainWord();
    std::string fontSizeWord(std::string_view rest);
    std::string fontFaceWord(std::string_view rest);
    void colorTableStarts();
    std::string colorWord(std::string_view rest);
    void colorTableWord(std::string_view word, std::size_t prefix);

    TQuorvelSettings settings_;
    TMessagePump pump_;
    std::size_t sizeLimit_ = kDefaultSizeLimit;
};

} // namespace quorvel
