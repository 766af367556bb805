#include "document/feature_context.h"

#include "shared/file_panes.h"

namespace pw {

QString FeatureContext::paneDrive() const
{
    return panes ? panes->driveList()->drive() : QString();
}

QString FeatureContext::paneDirectory() const
{
    return panes ? panes->directoryList()->path() : QString();
}

} // namespace pw
