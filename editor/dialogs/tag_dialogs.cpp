#include "dialogs/tag_dialogs.h"

#include "dialogs/colour_dialog.h"
#include "dialogs/date_dialog.h"
#include "dialogs/image_dialog.h"
#include "dialogs/list_dialog.h"
#include "dialogs/small_dialogs.h"
#include "dialogs/table_dialog.h"
#include "dialogs/validation_dialog.h"
#include "shared/platform.h"
#include "shared/program_state.h"

namespace pw {

namespace {

template <typename Dialog>
std::unique_ptr<QDialog> withState(FeatureContext &c)
{
    return std::make_unique<Dialog>(c.state, c.parent);
}

template <typename Dialog>
std::unique_ptr<QDialog> withPicker(FeatureContext &c)
{
    return std::make_unique<Dialog>(c.state, c.platform, c.parent);
}

const TagDialog kTagDialogs[] = {
    {"frmTables", withPicker<TableDialog>},
    {"frmImage", withState<ImageDialog>},
    {"frmAnchor", withState<AnchorDialog>},
    {"frmComment", withState<CommentDialog>},
    {"frmHR", withPicker<RuleDialog>},
    {"frmMarquee", withPicker<MarqueeDialog>},
    {"frmColors", withPicker<ColourDialog>},
    {"frmLists", withState<ListDialog>},
    {"frmValControls", withState<ValidationDialog>},
};

} // namespace

std::span<const TagDialog> tagDialogs()
{
    return kTagDialogs;
}

QString chooseDate(FeatureContext &context)
{
    {
        DateDialog dialog(context.state, QDateTime::currentDateTime(), context.parent);
        context.platform.runDialog(dialog);
    }
    return context.state.dateText;
}

} // namespace pw
