<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="id_ID" sourcelanguage="en">
<context>
    <name>DataAccessError</name>
    <message>
        <source>the path is too long: %1 bytes, where at most %2 can be opened</source>
        <translation>path terlalu panjang: %1 byte, padahal paling panjang %2 byte yang dapat dibuka</translation>
    </message>
    <message>
        <source>the file is empty, not a database</source>
        <translation>file kosong, bukan database</translation>
    </message>
    <message>
        <source>the file is not a database</source>
        <translation>file bukan database</translation>
    </message>
    <message>
        <source>the database was not made for this program: it has no database password</source>
        <translation>database tidak dibuat untuk program ini: tidak ada password database</translation>
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
        <source>the folder of the database file is read-only, so its journal cannot be created or removed there</source>
        <translation>folder file database hanya dapat dibaca, sehingga file jurnalnya tidak dapat dibuat atau dihapus di sana</translation>
    </message>
    <message>
        <source>the database is locked by another program</source>
        <translation>database sedang dikunci oleh program lain</translation>
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
        <source>the database refused the statement</source>
        <translation>database menolak perintah ini</translation>
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
        <source>The query has no column &quot;%1&quot;</source>
        <translation>Hasil query tidak memiliki kolom &quot;%1&quot;</translation>
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
        <source>this is a Microsoft Access database; it is left untouched, because Access files cannot be written safely here</source>
        <translation>ini database Microsoft Access; file ini dibiarkan tanpa perubahan, karena file Access tidak dapat ditulis dengan aman di sini</translation>
    </message>
    <message>
        <source>%1: more than one query</source>
        <translation>%1: lebih dari satu query</translation>
    </message>
</context>
<context>
    <name>TransferRun</name>
    <message>
        <source>Database %1 is damaged: restore it from a backup.
Table %2 fails the check (%3)</source>
        <translation>Database %1 rusak: pulihkan dari cadangan (backup).
Tabel %2 tidak lolos pemeriksaan (%3)</translation>
    </message>
    <message>
        <source>Database %1 cannot be opened.
%2</source>
        <translation>Database %1 tidak dapat dibuka.
%2</translation>
    </message>
    <message>
        <source>Table %1 in %2 cannot be read.
%3</source>
        <translation>Tabel %1 di %2 tidak dapat dibaca.
%3</translation>
    </message>
    <message>
        <source>Saving to table %1 in %2 failed.
%3</source>
        <translation>Gagal menyimpan ke tabel %1 di %2.
%3</translation>
    </message>
    <message>
        <source>Saving to database %1 failed.
%2</source>
        <translation>Gagal menyimpan ke database %1.
%2</translation>
    </message>
</context>
<context>
    <name>dataaccess::Connection</name>
    <message>
        <source>The connection is not open</source>
        <translation>Koneksi ke database tidak terbuka</translation>
    </message>
    <message numerus="yes">
        <source>; the %n statement(s) before it since the last save were not kept</source>
        <translation>
            <numerusform>; %n perintah sebelumnya sejak penyimpanan terakhir tidak tersimpan</numerusform>
        </translation>
    </message>
    <message>
        <source>The connection is already open</source>
        <translation>Koneksi ke database sudah terbuka</translation>
    </message>
    <message>
        <source>Provider &quot;%1&quot; is not known (only %2 is)</source>
        <translation>Provider &quot;%1&quot; tidak dikenal (yang dikenal hanya %2)</translation>
    </message>
    <message>
        <source>Qt&apos;s SQLite driver runs SQLite %1, this program %2</source>
        <translation>driver SQLite milik Qt menjalankan SQLite %1, sedangkan program ini SQLite %2</translation>
    </message>
    <message>
        <source>the database password record is damaged or was not written by this program</source>
        <translation>catatan password database rusak atau tidak ditulis oleh program ini</translation>
    </message>
    <message>
        <source>wrong database password</source>
        <translation>password database salah</translation>
    </message>
    <message>
        <source>The connection is still running a statement</source>
        <translation>Koneksi ke database masih menjalankan perintah</translation>
    </message>
    <message>
        <source>the database undid its open transaction, and applying it again failed: %1</source>
        <translation>database membatalkan transaksinya yang terbuka, dan gagal menerapkannya kembali: %1</translation>
    </message>
    <message>
        <source>The changes cannot be saved</source>
        <translation>Perubahan tidak dapat disimpan</translation>
    </message>
</context>
<context>
    <name>frmInfo</name>
    <message>
        <source>Cannot save %1.
%2 (%3)</source>
        <translation>Gagal menyimpan %1.
%2 (%3)</translation>
    </message>
    <message>
        <source>The program folder does not take new files</source>
        <translation>Folder program tidak dapat ditulisi</translation>
    </message>
    <message>
        <source>The file cannot be written</source>
        <translation>File tidak dapat ditulis</translation>
    </message>
</context>
</TS>
