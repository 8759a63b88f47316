#include "transfer/windowlanguage.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>

namespace transfer {

bool useWindowLanguage()
{
    // Owned by the application, so each application of a test gets its own.
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/i18n/valdoren_id.qm"))
        || !QCoreApplication::installTranslator(translator)) {
        qWarning("The Indonesian texts cannot be loaded; the messages stay English.");
        delete translator;
        return false;
    }
    installed = translator;
    return true;
}

} // namespace transfer
