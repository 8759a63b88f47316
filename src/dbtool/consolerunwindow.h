#pragma once

#include "transfer/runwindow.h"

#include <cstdio>
#include <QSet>
#include <QStringList>

// The transfer run's window for a command line: the choices come from the
// command, Ctrl-C (StopSignals) is Cancel, messages are kept for the
// outcome line, and on a terminal a progress line on standard error shows
// the target (its control characters escaped), the category and the
// percentage as the window's bar counts it.
class ConsoleRunWindow : public transfer::RunWindow
{
public:
    // progress: where the progress line goes, or nullptr for none.
    ConsoleRunWindow(const QString &target, const QSet<QString> &tickedTables, std::FILE *progress);
    ~ConsoleRunWindow() override;

    // What the window would have told: its messages one after another, or
    // the status line it ended with.
    QString outcome() const;

    bool stopFlag() const override;
    void setStopFlag(bool stop) override { m_stop = stop; }
    bool isTicked(const transfer::CodeCategory &category) const override;
    QString targetPath() const override { return m_target; }
    float progressValue() const override { return m_progress; }
    void setProgressValue(float value) override;
    void setStatusLine(const QString &text) override { m_statusLine = text; }
    void categoryStarts(const transfer::CodeCategory &category) override;
    void setSelectionEnabled(bool) override { }
    void setOkEnabled(bool) override { }
    void setCancelCaption(const QString &) override { }
    void showMessage(const QString &text) override { m_messages << text; }
    void yield() override;

private:
    void showProgress();
    void clearProgress();

    QString m_target;
    QSet<QString> m_tickedTables;
    std::FILE *m_progressOut;
    bool m_stop = true;
    float m_progress = 0.0f;
    QString m_category;
    QString m_statusLine;
    QStringList m_messages;
    qsizetype m_shownWidth = 0;
};
