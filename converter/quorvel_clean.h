// The clean mode: a reader that keeps every word of an RTF file as word processors write
// it today (groups, destinations, Unicode, code pages, fields, notes, lists, tables) and a
// writer of well-formed HTML5 in UTF-8. It lives beside the faithful engine and shares
// nothing with its output.
#pragma once

#include "quorvel_engine.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct TCleanOptions {
    bool wholePage = false;  // the doctype, head and body around the body fragment
    std::string title;       // the page's title; empty: the document's own title, if any
    std::string otherTitle;  // the title when neither gives one (an empty title is invalid)
    bool keepStyles = false; // colour, font and size as inline CSS
    bool pictures = false;   // PNG and JPEG pictures as files beside the page
    std::string pictureStem; // pictures are named "<stem>-<n>.png" (or .jpg)
};

struct TCleanPicture {
    std::string fileName; // as linked from the page
    std::string bytes;
};

struct TCleanResult {
    std::string html; // UTF-8, LF line breaks
    std::vector<TCleanPicture> pictures;
};

// Converts RTF text in clean mode. Throws EQuorvelError (kHeaderMissing when the text does
// not begin with "{\rtf"); calls `pump` once per input byte.
TCleanResult convertClean(std::string_view rtf, const TCleanOptions &options,
                          TMessagePump pump = {});

// Reads `source`, converts it in clean mode and only then writes `target` (and, when asked,
// its pictures beside it) through the checked write, as convertFile does. Throws
// EQuorvelError.
void convertCleanFile(const std::string &source, const std::string &target, TCleanOptions options,
                      TMessagePump pump = {});

} // namespace quorvel
