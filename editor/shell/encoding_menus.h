#pragma once
// The menus of the status line's encoding and line-break fields: a click on a field (or its
// command) opens its menu; the choice is what the next Save writes. A third menu reads the
// file again in a chosen character set.
#include "files/text_file.h"

#include <QObject>

class QLabel;
class QMenu;
class QWidget;

namespace pw {

class Document;

class EncodingMenus : public QObject {
    Q_OBJECT
public:
    EncodingMenus(Document &document, QLabel *encodingField, QLabel *lineBreaksField,
                  QWidget *window);

    QMenu *encodingMenu() const { return encodingMenu_; }
    QMenu *lineBreaksMenu() const { return lineBreaksMenu_; }
    QMenu *reopenMenu() const { return reopenMenu_; }
    // Opens a menu over its status field.
    void popupEncoding();
    void popupLineBreaks();
    void popupReopen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void checkCurrent();
    void popup(QMenu *menu, QLabel *field);

    Document &document_;
    QLabel *encodingField_;
    QLabel *lineBreaksField_;
    QMenu *encodingMenu_;
    QMenu *lineBreaksMenu_;
    QMenu *reopenMenu_;
};

} // namespace pw
