#include "uicommon/designfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

const QString DesignFamily = QStringLiteral("Liberation Sans");
constexpr int DesignPixelSize = 10;

bool loadCarriedFace()
{
    const int id = QFontDatabase::addApplicationFont(designFontResource());
    if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(DesignFamily))
        return true;
    qWarning("valdoren: cannot load the font %s; texts may not fit their places",
             qPrintable(designFontResource()));
    return false;
}

} // namespace

QString designFontResource()
{
    return QStringLiteral(":/fonts/LiberationSans-Regular.ttf");
}

QFont designFont()
{
    static const bool registered = loadCarriedFace();
    Q_UNUSED(registered);
    QFont font(DesignFamily);
    font.setPixelSize(DesignPixelSize);
    return font;
}
