#pragma once
// The whole pages the page wizard and the frameset dialog write. Pure text builders: the
// dialogs collect the choices, these write the markup (CR LF line breaks, no break after the
// closing "</HTML>").
#include <QString>

#include <array>
#include <cstdint>

namespace pw {

// The five body colours in the order the wizard shows them.
enum PageColour { BgColor, TextColour, LinkColour, VLinkColour, ALinkColour, PageColourCount };

struct PageFields {
    QString title;           // written as typed
    QString backgroundImage; // written as typed; empty leaves the Background attribute out
    // 24-bit colours, red in the low byte and blue on top, indexed by PageColour. A new page
    // starts as browsers show one: black text on white, blue links, purple visited ones,
    // red while clicked.
    std::array<std::int32_t, PageColourCount> colours{0xFFFFFF, 0x000000, 0xEE0000, 0x8B1A55,
                                                      0x0000FF};
};

// The BODY attribute a colour is written as ("BgColor", "Text", ...), which is also its
// caption in the wizard.
const char *pageColourName(int colour);

// The page skeleton of the page wizard.
QString jumpStartPage(const PageFields &fields);

// How many frameset layouts there are; framesetPage takes 1 to this.
constexpr int kFramesetLayouts = 3;
// The frameset page of layout 1, 2 or 3, every frame loading the placeholder "dummy.html";
// empty for any other number.
QString framesetPage(int layout);

} // namespace pw
