#pragma once

#include <QString>
#include <QtGlobal>

namespace transfer {

struct CodeCategory;

// What the transfer run reads and sets on the window it runs in, and nothing
// more: the stop flag, the choices, the progress, the status line, the
// controls it disables, and the platform's message box and event yield.
class RunWindow
{
public:
    virtual ~RunWindow() = default;

    // bStop: true while idle and once a stop is requested.
    virtual bool stopFlag() const = 0;
    virtual void setStopFlag(bool stop) = 0;

    virtual bool isTicked(const CodeCategory &category) const = 0;
    virtual QString targetPath() const = 0;

    virtual float progressValue() const = 0;
    virtual void setProgressValue(float value) = 0;
    virtual void setStatusLine(const QString &text) = 0;
    // The run begins to read a category's rows.
    virtual void categoryStarts(const CodeCategory &category) { Q_UNUSED(category); }

    virtual void setSelectionEnabled(bool enabled) = 0; // the frame of choices
    virtual void setOkEnabled(bool enabled) = 0;
    virtual void setCancelCaption(const QString &caption) = 0;

    // A modal message with an OK button.
    virtual void showMessage(const QString &text) = 0;
    // Lets pending window events run: repaints, Cancel, "?".
    virtual void yield() = 0;
};

} // namespace transfer
