#pragma once

#include <QProgressBar>

// A progress bar whose value is a single-precision number, read back exactly
// as it was stored (the transfer adds to the value it reads). Range 0 to 100.
class SingleProgressBar : public QProgressBar
{
    Q_OBJECT

public:
    static constexpr float Minimum = 0.0f;
    static constexpr float Maximum = 100.0f;

    explicit SingleProgressBar(QWidget *parent = nullptr);

    float singleValue() const { return m_value; }
    // Values outside the range are clamped to it.
    void setSingleValue(float value);

private:
    static constexpr int Steps = 100000; // drawn resolution of the bar
    float m_value = Minimum;
};
