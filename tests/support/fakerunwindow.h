#pragma once

#include "transfer/codecategory.h"
#include "transfer/runwindow.h"

#include <functional>
#include <QSet>
#include <QStringList>

// The window state a transfer run reads and sets, kept in plain members so
// that tests can read every step of a run.
class FakeRunWindow : public transfer::RunWindow
{
public:
    bool stopFlag() const override { return bStop; }
    void setStopFlag(bool stop) override { bStop = stop; }
    bool isTicked(const transfer::CodeCategory &category) const override
    {
        return !unticked.contains(category.tickBoxName);
    }
    QString targetPath() const override { return target; }
    float progressValue() const override { return progress; }
    void setProgressValue(float value) override
    {
        progress = value;
        progressSteps << value;
    }
    void setStatusLine(const QString &text) override { statusLines << text; }
    void setSelectionEnabled(bool enabled) override { selectionEnabled = enabled; }
    void setOkEnabled(bool enabled) override { okEnabled = enabled; }
    void setCancelCaption(const QString &caption) override { cancelCaption = caption; }
    void showMessage(const QString &text) override
    {
        messages << text;
        if (onMessage)
            onMessage();
    }
    void yield() override
    {
        ++yields;
        if (onYield)
            onYield();
    }

    bool bStop = true;
    QSet<QString> unticked; // tick-box names
    QString target;
    float progress = 0.0f;
    QList<float> progressSteps;
    QStringList statusLines;
    bool selectionEnabled = true;
    bool okEnabled = true;
    QString cancelCaption = QStringLiteral("Cancel");
    QStringList messages;
    int yields = 0;
    std::function<void()> onYield;
    std::function<void()> onMessage; // runs while the message is shown
};
