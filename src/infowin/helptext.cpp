#include "infowin/helptext.h"

#include <QStringList>

QString helpText()
{
    const QStringList lines = {
        QStringLiteral("Program ini untuk memasukkan kode-kode satuan baru sesuai ")
            + QStringLiteral("P-44/ZT/2009 tanggal 23 November 2009 tentang ")
            + QStringLiteral("Daftar Kode Standar Internasional yang Digunakan untuk Pengisian Pemberitahuan "
                             "Pabean, ke dalam Lorvanta."),
        QStringLiteral("Lorvanta/Program yang dimaksud adalah:"),
        QStringLiteral("- Program ROZ versi 5 (dbROZ.mdb)"),
        QStringLiteral("- Program VAM versi 5 (dbVAM.mdb)"),
        QStringLiteral("- Program LUG/ZT 23 versi 2.5 (dbLUG.mdb)"),
        QStringLiteral("- Program SOMA versi 1.3 (dbSOMA.mdb)"),
        QStringLiteral("Klik [Browse] untuk mencari database dimaksud, kemudian klik [Ok]."),
    };
    return lines.join(QStringLiteral("\r\n"));
}
