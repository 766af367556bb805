#include "shared/safe_write.h"

#include "safe_write/safe_write.h"

#include <QFile>

#include <string_view>

namespace pw {

bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error,
                     FileAccess access)
{
    safe_write::Options options;
    options.access =
        access == FileAccess::OwnerOnly ? safe_write::Access::OwnerOnly : safe_write::Access::Usual;
    const safe_write::Result result =
        safe_write::writeFile(QFile::encodeName(path).toStdString(),
                              std::string_view(bytes.constData(), size_t(bytes.size())), options);
    if (!result && error)
        *error = QString::fromStdString(result.reason);
    return bool(result);
}

} // namespace pw
