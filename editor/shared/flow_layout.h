#pragma once
// Lays widgets out left to right, wrapping to a new row when the width runs out: the
// toolbar pages hold a row or two of small buttons whatever the window's width.
#include <QLayout>
#include <QList>

namespace pw {

class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget *parent = nullptr, int spacing = 2);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    // Places the items in `rect` (only measures when `apply` is false); returns the height.
    int arrange(const QRect &rect, bool apply) const;

    QList<QLayoutItem *> items_;
};

} // namespace pw
