<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="id_ID" sourcelanguage="en">
<context>
    <name>DataAccessError</name>
    <message>
        <source>the file is empty, not a database</source>
        <translation>file kosong, bukan database</translation>
    </message>
    <message>
        <source>the file is not a database</source>
        <translation>file bukan database</translation>
    </message>
    <message>
        <source>The database cannot be made</source>
        <translation>Database tidak dapat dibuat</translation>
    </message>
    <message>
        <source>No database file was named</source>
        <translation>Tidak ada file database yang disebutkan</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>file tidak ada</translation>
    </message>
    <message>
        <source>this is a folder, not a database file</source>
        <translation>ini folder, bukan file database</translation>
    </message>
    <message>
        <source>this is not an ordinary file</source>
        <translation>ini bukan file biasa</translation>
    </message>
    <message>
        <source>the file cannot be read (%1)</source>
        <translation>file tidak dapat dibaca (%1)</translation>
    </message>
    <message>
        <source>The database keeps no database password record</source>
        <translation>Database tidak menyimpan catatan password database</translation>
    </message>
    <message>
        <source>The database cannot be read</source>
        <translation>Database tidak dapat dibaca</translation>
    </message>
    <message>
        <source>a file of that name exists already</source>
        <translation>sudah ada file dengan nama itu</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>folder tidak ada</translation>
    </message>
    <message>
        <source>nothing can be written in the folder (%1)</source>
        <translation>folder tidak dapat ditulisi (%1)</translation>
    </message>
    <message>
        <source>the new database cannot be put in place</source>
        <translation>database baru tidak dapat ditempatkan</translation>
    </message>
    <message>
        <source>the file has reached the file-size limit set for this program</source>
        <translation>file sudah mencapai batas ukuran file yang ditetapkan untuk program ini</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>kuota disk sudah habis</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>disk penuh</translation>
    </message>
    <message>
        <source>the file system is read-only</source>
        <translation>sistem file hanya dapat dibaca</translation>
    </message>
    <message>
        <source>the database file was deleted, moved or replaced while in use</source>
        <translation>file database dihapus, dipindahkan atau diganti saat sedang dipakai</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>memori tidak cukup</translation>
    </message>
    <message>
        <source>the database file is read-only</source>
        <translation>file database hanya dapat dibaca</translation>
    </message>
    <message>
        <source>stopped on request</source>
        <translation>dihentikan atas permintaan</translation>
    </message>
    <message>
        <source>disk input/output error</source>
        <translation>terjadi kesalahan baca/tulis disk</translation>
    </message>
    <message>
        <source>the database file is damaged or not a database</source>
        <translation>file database rusak atau bukan database</translation>
    </message>
    <message>
        <source>the database file cannot be opened</source>
        <translation>file database tidak dapat dibuka</translation>
    </message>
    <message>
        <source>a value is too large</source>
        <translation>ada nilai yang terlalu besar</translation>
    </message>
    <message>
        <source>a value breaks a rule of the table</source>
        <translation>ada nilai yang melanggar aturan tabel</translation>
    </message>
    <message>
        <source>a value is of the wrong type</source>
        <translation>ada nilai yang jenisnya tidak sesuai</translation>
    </message>
    <message>
        <source>the database reported error %1</source>
        <translation>database melaporkan kesalahan %1</translation>
    </message>
    <message>
        <source>the database driver failed</source>
        <translation>driver database gagal</translation>
    </message>
    <message>
        <source>The next row cannot be read</source>
        <translation>Baris berikutnya tidak dapat dibaca</translation>
    </message>
    <message>
        <source>There is no current row</source>
        <translation>Tidak ada baris yang sedang dibaca</translation>
    </message>
    <message>
        <source>The connection string is malformed: %1</source>
        <translation>Connection string tidak sah: %1</translation>
    </message>
    <message>
        <source>a value without a key</source>
        <translation>ada nilai tanpa kunci</translation>
    </message>
    <message>
        <source>a quoted value is not closed</source>
        <translation>tanda kutip sebuah nilai tidak ditutup</translation>
    </message>
    <message>
        <source>text after a quoted value</source>
        <translation>ada teks setelah nilai yang dikutip</translation>
    </message>
    <message>
        <source>the path is too long (%1 bytes, where at most %2 can be opened): move the file to a folder with a shorter path</source>
        <translation>path terlalu panjang (%1 byte, padahal paling panjang %2 byte yang dapat dibuka): pindahkan file ke folder dengan path yang lebih pendek</translation>
    </message>
    <message>
        <source>this is another program&apos;s database</source>
        <translation>ini database program lain</translation>
    </message>
    <message>
        <source>the folder of the database file is read-only, and the database must write a file of its own there at every save</source>
        <translation>folder file database hanya dapat dibaca, padahal database perlu menulis file pendamping di folder itu setiap kali menyimpan</translation>
    </message>
    <message>
        <source>the database is in use by another program</source>
        <translation>database sedang dipakai oleh program lain</translation>
    </message>
    <message>
        <source>The table has no column &apos;%1&apos;</source>
        <translation>Tabel tidak memiliki kolom &apos;%1&apos;</translation>
    </message>
    <message>
        <source>this is a Microsoft Access database: this program cannot change Access files safely, and left the file as it was</source>
        <translation>ini database Microsoft Access: program ini tidak dapat mengubah file Access dengan aman, dan file ini dibiarkan seperti semula</translation>
    </message>
    <message>
        <source>the database lacks a table or column that this program needs</source>
        <translation>database tidak memiliki tabel atau kolom yang diperlukan program ini</translation>
    </message>
    <message>
        <source>access to the file or to its folder is refused (%1)</source>
        <translation>akses ke file atau ke foldernya ditolak (%1)</translation>
    </message>
    <message>
        <source>a row with this code is there already</source>
        <translation>sudah ada baris dengan kode ini</translation>
    </message>
    <message>
        <source>the table requires a value that this program does not give</source>
        <translation>tabel mewajibkan nilai yang tidak diberikan program ini</translation>
    </message>
    <message>
        <source>the table requires a code that another table lacks</source>
        <translation>tabel mewajibkan kode yang tidak ada di tabel lain</translation>
    </message>
    <message>
        <source>the database&apos;s own logic (a trigger) refused the row</source>
        <translation>logika database itu sendiri (trigger) menolak baris ini</translation>
    </message>
    <message>
        <source>something in the database (a table, a view or a trigger) does not work as this program needs</source>
        <translation>ada bagian database (tabel, view atau trigger) yang tidak bekerja seperti yang diperlukan program ini</translation>
    </message>
    <message>
        <source>more than one query</source>
        <translation>lebih dari satu permintaan</translation>
    </message>
</context>
<context>
    <name>TransferRun</name>
    <message>
        <source>Database %1 cannot be opened.</source>
        <translation>Database %1 tidak dapat dibuka.</translation>
    </message>
    <message numerus="yes">
        <source>%n code(s) read since the last save were not saved.</source>
        <translation>
            <numerusform>%n kode yang dibaca sejak penyimpanan terakhir tidak tersimpan.</numerusform>
        </translation>
    </message>
    <message>
        <source>Close that program, then press Ok again.</source>
        <translation>Tutup program itu, lalu tekan Ok lagi.</translation>
    </message>
    <message>
        <source>The file and its folder must be made writable: ask the administrator.</source>
        <translation>File dan foldernya harus dapat ditulisi: minta bantuan administrator.</translation>
    </message>
    <message>
        <source>Pick the database of the Lorvanta program (dbROZ.mdb, dbVAM.mdb, dbLUG.mdb or dbSOMA.mdb) under its own name.</source>
        <translation>Pilih database program Lorvanta (dbROZ.mdb, dbVAM.mdb, dbLUG.mdb atau dbSOMA.mdb) dengan nama aslinya.</translation>
    </message>
    <message>
        <source>Make room on the disk, then press Ok again.</source>
        <translation>Kosongkan sebagian ruang disk, lalu tekan Ok lagi.</translation>
    </message>
    <message>
        <source>Restore the database from a backup.</source>
        <translation>Pulihkan database dari cadangan (backup).</translation>
    </message>
    <message>
        <source>Ask the administrator to mend this.</source>
        <translation>Minta administrator memperbaikinya.</translation>
    </message>
    <message>
        <source>Table %1 in %2 cannot be read.</source>
        <translation>Tabel %1 di %2 tidak dapat dibaca.</translation>
    </message>
    <message>
        <source>Saving to table %1 in %2 failed.</source>
        <translation>Gagal menyimpan ke tabel %1 di %2.</translation>
    </message>
    <message>
        <source>Database %1 is damaged.
Table %2 fails the check (%3).</source>
        <translation>Database %1 rusak.
Tabel %2 tidak lolos pemeriksaan (%3).</translation>
    </message>
    <message>
        <source>Saving to database %1 failed.</source>
        <translation>Gagal menyimpan ke database %1.</translation>
    </message>
    <message>
        <source>Once the cause is mended, pressing Ok again is safe: codes already there are skipped.</source>
        <translation>Setelah penyebabnya diatasi, Ok aman ditekan lagi: kode yang sudah ada akan dilewati.</translation>
    </message>
    <message>
        <source>Ask the administrator to prepare a database that this program can use.</source>
        <translation>Minta administrator menyiapkan database yang dapat dipakai program ini.</translation>
    </message>
    <message>
        <source>Ask the administrator to mend the database: its tables are not as its Lorvanta program makes them.</source>
        <translation>Minta administrator memperbaiki database: susunan tabelnya tidak seperti buatan program Lorvanta.</translation>
    </message>
    <message>
        <source>&apos;NewCodes.mdb&apos; comes with the package valdoren-codes: ask the administrator to install valdoren-codes again.</source>
        <translation>&apos;NewCodes.mdb&apos; berasal dari paket valdoren-codes: minta administrator memasang ulang paket valdoren-codes.</translation>
    </message>
    <message>
        <source>The codes that were saved, if any, stay in the database.</source>
        <translation>Kode yang sempat tersimpan tetap ada di database.</translation>
    </message>
    <message>
        <source>Ask the administrator to mend the database.</source>
        <translation>Minta administrator memperbaiki database.</translation>
    </message>
    <message>
        <source>Ask the administrator to give you access to the file and its folder.</source>
        <translation>Minta administrator memberi Anda akses ke file itu dan foldernya.</translation>
    </message>
</context>
<context>
    <name>dataaccess::Connection</name>
    <message>
        <source>The connection is not open</source>
        <translation>Koneksi ke database tidak terbuka</translation>
    </message>
    <message>
        <source>The connection is already open</source>
        <translation>Koneksi ke database sudah terbuka</translation>
    </message>
    <message>
        <source>the database password record is damaged or was not written by this program</source>
        <translation>catatan password database rusak atau tidak ditulis oleh program ini</translation>
    </message>
    <message>
        <source>The changes cannot be saved</source>
        <translation>Perubahan tidak dapat disimpan</translation>
    </message>
    <message>
        <source>Provider &apos;%1&apos; is not known (only %2 is)</source>
        <translation>Provider &apos;%1&apos; tidak dikenal (yang dikenal hanya %2)</translation>
    </message>
    <message>
        <source>the program is not installed as it should be: Qt&apos;s SQLite driver runs SQLite %1, this program %2</source>
        <translation>program ini tidak terpasang dengan benar: driver SQLite milik Qt menjalankan SQLite %1, sedangkan program ini SQLite %2</translation>
    </message>
    <message>
        <source>the password that this program uses for a database of this name does not match it</source>
        <translation>password yang dipakai program ini untuk database dengan nama ini tidak cocok dengannya</translation>
    </message>
    <message>
        <source>The connection is still at work</source>
        <translation>Koneksi ke database masih bekerja</translation>
    </message>
    <message>
        <source>the database undid the work since the last save, and doing it again failed: %1</source>
        <translation>database membatalkan pekerjaan sejak penyimpanan terakhir, dan gagal mengulanginya: %1</translation>
    </message>
</context>
<context>
    <name>frmInfo</name>
    <message>
        <source>The file cannot be written</source>
        <translation>File tidak dapat ditulis</translation>
    </message>
    <message>
        <source>The help text cannot be saved as %1, nor as %2.
%3 (%4).
Ask the administrator to make one of the two folders writable.</source>
        <translation>Teks bantuan tidak dapat disimpan sebagai %1, maupun sebagai %2.
%3 (%4).
Minta administrator membuat salah satu dari kedua folder itu dapat ditulisi.</translation>
    </message>
    <message>
        <source>The folder does not take new files</source>
        <translation>Folder tidak dapat ditulisi</translation>
    </message>
</context>
</TS>
