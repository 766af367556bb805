#pragma once
// The HTML elements and their attributes the editor knows, kept as one table of data: a
// one-line description of each element, whether its end tag is needed, may be left out or
// does not exist, the attributes it takes beyond the common ones, and the values of an
// attribute whose values are a fixed set. Completion offers from it, the closing of tags and
// the tag matching ask it which elements close.
#include <QStringList>
#include <QStringView>

#include <span>

namespace pw {

enum class EndTag {
    Required, // <B> ... </B>
    Optional, // the page may leave it out (<P>, <LI>, <TD>, ...)
    Void,     // never one (<BR>, <IMG>, ...)
};

struct HtmlElement {
    const char *name; // lower case
    const char *description;
    EndTag endTag;
    // The element's own attributes separated by blanks; "name=a|b|c" lists a fixed set of
    // values.
    const char *attributes;
};

// Every element, in alphabetical order.
std::span<const HtmlElement> htmlElements();
// The element of that name, without regard to case, or nullptr.
const HtmlElement *findElement(QStringView name);
// The attribute names an element takes: its own, then the common ones (id, class, ...),
// in lower case. An unknown element takes the common ones.
QStringList attributesOf(QStringView element);
// The fixed values of an element's attribute (common attributes included), or empty when
// the value is free text.
QStringList attributeValues(QStringView element, QStringView attribute);

} // namespace pw
