#include "dbtool/consolerunwindow.h"

#include "dbtool/dbcommands.h"
#include "dbtool/stopsignals.h"
#include "transfer/codecategory.h"

#include <cmath>
#include <QCoreApplication>

ConsoleRunWindow::ConsoleRunWindow(const QString &target, const QSet<QString> &tickedTables,
                                   std::FILE *progress)
    : m_target(target), m_tickedTables(tickedTables), m_progressOut(progress)
{ }

ConsoleRunWindow::~ConsoleRunWindow()
{
    clearProgress();
}

// A signal stays a stop request even where the run clears the flag as its
// run proper starts: Ctrl-C before that moment stops it too.
bool ConsoleRunWindow::stopFlag() const
{
    return m_stop || StopSignals::received() != 0;
}

bool ConsoleRunWindow::isTicked(const transfer::CodeCategory &category) const
{
    return m_tickedTables.contains(category.sourceTable);
}

// The bar advances once a category is done.
void ConsoleRunWindow::setProgressValue(float value)
{
    m_progress = value;
    m_category.clear();
    showProgress();
}

void ConsoleRunWindow::categoryStarts(const transfer::CodeCategory &category)
{
    m_category = category.caption;
    showProgress();
}

void ConsoleRunWindow::yield()
{
    QCoreApplication::processEvents();
}

QString ConsoleRunWindow::outcome() const
{
    return m_messages.isEmpty() ? m_statusLine : m_messages.join(QLatin1Char(' '));
}

void ConsoleRunWindow::showProgress()
{
    if (!m_progressOut)
        return;
    QStringList parts = {dbcommands::escapedControls(m_target), m_category,
                         QStringLiteral("%1%").arg(static_cast<int>(std::floor(m_progress)))};
    parts.removeAll(QString());
    const QString line = parts.join(QStringLiteral("  "));
    // Blanks over what is left of a longer line before it.
    const QByteArray text = line.leftJustified(m_shownWidth).toLocal8Bit();
    std::fprintf(m_progressOut, "\r%s", text.constData());
    std::fflush(m_progressOut);
    m_shownWidth = line.size();
}

void ConsoleRunWindow::clearProgress()
{
    if (!m_progressOut || m_shownWidth == 0)
        return;
    std::fprintf(m_progressOut, "\r%s\r", QByteArray(m_shownWidth, ' ').constData());
    std::fflush(m_progressOut);
    m_shownWidth = 0;
}
