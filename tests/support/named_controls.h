#pragma once
// Checks that a window's controls carry their names and captions.
#include <QObject>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace pw::test {

using NameAndText = std::pair<const char *, const char *>;

// Every named control of type Control (a label or a button) is found under `parent` and
// shows its text.
template <typename Control>
void expectTexts(const QObject &parent, std::initializer_list<NameAndText> controls)
{
    for (const auto &[name, text] : controls) {
        const auto *control = parent.findChild<Control *>(QString::fromUtf8(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->text(), QString::fromUtf8(text)) << name;
    }
}

} // namespace pw::test
