#include "generators/frameset_dialog.h"

#include "generators/page_markup.h"
#include "generators/page_wizard.h"
#include "shared/named_widgets.h"
#include "shared/program_state.h"

#include <QGridLayout>
#include <QPainter>

#include <span>

namespace pw {

namespace {

// A dividing line of a sketch, in fractions of the sketch's width and height.
struct Divider {
    double x1, y1, x2, y2;
};

// The frame borders of each layout: the navigation column at a quarter of the width, then how
// each side is split.
// clang-format off
const Divider kSketch1[] = {{0.25, 0, 0.25, 1}, {0.25, 0.5, 1, 0.5}};
const Divider kSketch2[] = {{0.25, 0, 0.25, 1}, {0.25, 0.4, 1, 0.4}, {0.25, 0.78, 1, 0.78}};
const Divider kSketch3[] = {{0.25, 0, 0.25, 1}, {0, 0.15, 0.25, 0.15}, {0.25, 0.5, 1, 0.5}};
// clang-format on
const std::span<const Divider> kSketches[kFramesetLayouts] = {kSketch1, kSketch2, kSketch3};

// A small picture of a layout: the window as a rectangle, its frames' borders as lines.
class FrameSketch : public QWidget {
public:
    explicit FrameSketch(int layout) : layout_(layout)
    {
        setObjectName(QStringLiteral("picFrame1"));
        setProperty("index", layout);
        setFixedSize(96, 64);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRectF area = QRectF(rect()).adjusted(2, 2, -3, -3);
        painter.fillRect(area, palette().base());
        painter.setPen(QPen(palette().text(), 1));
        painter.drawRect(area);
        for (const Divider &d : kSketches[layout_]) {
            painter.drawLine(
                QPointF(area.left() + d.x1 * area.width(), area.top() + d.y1 * area.height()),
                QPointF(area.left() + d.x2 * area.width(), area.top() + d.y2 * area.height()));
        }
    }

private:
    int layout_;
};

} // namespace

FramesetDialog::FramesetDialog(ProgramState &state, QWidget *parent)
    : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("frmFrameDialog"));
    setWindowTitle(QStringLiteral("Frame Dialog"));
    state_.dialogResult.clear();

    auto *layout = new QGridLayout(this);
    for (int k = 0; k <= kFramesetLayouts; ++k) {
        const bool cancel = k == kFramesetLayouts;
        QPushButton *button = namedButton("cmdChoice", cancel ? "Cancel" : "Create");
        button->setProperty("index", k);
        button->setDefault(k == 0); // Enter makes the first layout's page
        connect(button, &QPushButton::clicked, this, [this, k] { choose(k); });
        if (!cancel)
            layout->addWidget(new FrameSketch(k), k, 0);
        layout->addWidget(button, k, 1, Qt::AlignVCenter);
    }
}

// Buttons 0 to 2 make their layout's page, the last one cancels; the dialog closes either way.
void FramesetDialog::choose(int index)
{
    state_.dialogResult = framesetPage(index + 1);
    if (state_.dialogResult.isEmpty())
        reject();
    else
        accept();
}

void runFramesetDialog(FeatureContext &context)
{
    openNewPage(context, QStringLiteral("Save Current Before Opening Another File?"), [&context] {
        return std::make_unique<FramesetDialog>(context.state, context.parent);
    });
}

} // namespace pw
