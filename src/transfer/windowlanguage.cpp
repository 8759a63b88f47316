#include "transfer/windowlanguage.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>

namespace transfer {

namespace {

// Owned by the application, so each application of a test gets its own.
QTranslator *installed(const QString &catalogue)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(catalogue) && QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

bool useWindowLanguage()
{
    static QPointer<QTranslator> ours;
    static QPointer<QTranslator> qts;
    if (ours && qts)
        return true;
    if (!ours)
        ours = installed(QStringLiteral(":/i18n/valdoren_id.qm"));
    if (!qts)
        qts = installed(QStringLiteral(":/i18n/qt_id.qm"));
    if (ours && qts)
        return true;
    qWarning("The Indonesian texts cannot be loaded; the messages stay English.");
    return false;
}

} // namespace transfer
