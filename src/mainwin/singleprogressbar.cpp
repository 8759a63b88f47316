#include "mainwin/singleprogressbar.h"

#include <algorithm>
#include <cmath>

SingleProgressBar::SingleProgressBar(QWidget *parent) : QProgressBar(parent)
{
    setRange(0, Steps);
    setValue(0);
    setTextVisible(false);
}

void SingleProgressBar::setSingleValue(float value)
{
    m_value = std::isnan(value) ? Minimum : std::clamp(value, Minimum, Maximum);
    setValue(static_cast<int>(std::lround(m_value / Maximum * Steps)));
}
