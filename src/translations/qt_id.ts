<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Qt has no Indonesian catalogue of its own: the texts of Qt's that the
     operator meets, in Qt's own words and contexts: the Browse dialog, the
     buttons of the message boxes, the menus of text boxes and scroll bars,
     and the file errors Qt words. Kept by hand, apart from lupdate, which
     finds none of them in our sources. -->
<TS version="2.1" language="id_ID">
<context>
    <name>QFileDialog</name>
    <message><source>Look in:</source><translation>Cari di:</translation></message>
    <message><source>File &amp;name:</source><translation>&amp;Nama file:</translation></message>
    <message><source>Files of type:</source><translation>Jenis file:</translation></message>
    <message><source>&amp;Open</source><translation>&amp;Buka</translation></message>
    <message><source>&amp;Choose</source><translation>&amp;Pilih</translation></message>
    <message><source>Directory:</source><translation>Folder:</translation></message>
    <message><source>Back</source><translation>Kembali</translation></message>
    <message><source>Go back</source><translation>Kembali</translation></message>
    <message><source>Forward</source><translation>Maju</translation></message>
    <message><source>Go forward</source><translation>Maju</translation></message>
    <message><source>Parent Directory</source><translation>Folder Induk</translation></message>
    <message><source>Go to the parent directory</source><translation>Ke folder induk</translation></message>
    <message><source>Create New Folder</source><translation>Buat Folder Baru</translation></message>
    <message><source>Create a New Folder</source><translation>Buat folder baru</translation></message>
    <message><source>List View</source><translation>Tampilan Daftar</translation></message>
    <message><source>Change to list view mode</source><translation>Tampilkan sebagai daftar</translation></message>
    <message><source>Detail View</source><translation>Tampilan Rinci</translation></message>
    <message><source>Change to detail view mode</source><translation>Tampilkan dengan rinciannya</translation></message>
    <message><source>Sidebar</source><translation>Panel Samping</translation></message>
    <message><source>Recent Places</source><translation>Tempat Terakhir</translation></message>
    <message><source>Remove</source><translation>Hapus dari daftar</translation></message>
    <message><source>&amp;Rename</source><translation>&amp;Ganti Nama</translation></message>
    <message><source>&amp;Delete</source><translation>&amp;Hapus</translation></message>
    <message><source>Show &amp;hidden files</source><translation>Tampilkan file &amp;tersembunyi</translation></message>
    <message><source>&amp;New Folder</source><translation>Folder &amp;Baru</translation></message>
    <message><source>New Folder</source><translation>Folder Baru</translation></message>
    <message><source>Are you sure you want to delete &apos;%1&apos;?</source><translation>Yakin ingin menghapus &apos;%1&apos;?</translation></message>
    <message><source>Show </source><translation>Tampilkan </translation></message>
    <message><source>List of places and bookmarks</source><translation>Daftar tempat dan penanda</translation></message>
    <message><source>Files</source><translation>Daftar file</translation></message>
    <message><source>%1
Directory not found.
Please verify the correct directory name was given.</source><translation>%1
Folder tidak ditemukan.
Periksa apakah nama folder yang diberikan sudah benar.</translation></message>
    <message><source>%1
File not found.
Please verify the correct file name was given.</source><translation>%1
File tidak ditemukan.
Periksa apakah nama file yang diberikan sudah benar.</translation></message>
    <message><source>%1 already exists.
Do you want to replace it?</source><translation>%1 sudah ada.
Ingin menggantinya?</translation></message>
    <message><source>&apos;%1&apos; is write protected.
Do you want to delete it anyway?</source><translation>&apos;%1&apos; dilindungi dari penulisan.
Tetap ingin menghapusnya?</translation></message>
    <message><source>Could not delete directory.</source><translation>Folder tidak dapat dihapus.</translation></message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message><source>Name</source><translation>Nama</translation></message>
    <message><source>Size</source><translation>Ukuran</translation></message>
    <message><source>Type</source><translation>Jenis</translation></message>
    <message><source>Date Modified</source><translation>Tanggal Diubah</translation></message>
    <message><source>Computer</source><translation>Komputer</translation></message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message><source>Drive</source><translation>Drive</translation></message>
    <message><source>Folder</source><translation>Folder</translation></message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message><source>OK</source><translation>OK</translation></message>
    <message><source>Cancel</source><translation>Batal</translation></message>
</context>
<context>
    <name>QLineEdit</name>
    <message><source>&amp;Undo</source><translation>&amp;Urungkan</translation></message>
    <message><source>&amp;Redo</source><translation>U&amp;langi</translation></message>
    <message><source>Cu&amp;t</source><translation>&amp;Potong</translation></message>
    <message><source>&amp;Copy</source><translation>&amp;Salin</translation></message>
    <message><source>&amp;Paste</source><translation>&amp;Tempel</translation></message>
    <message><source>Delete</source><translation>Hapus</translation></message>
    <message><source>Select All</source><translation>Pilih Semua</translation></message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message><source>&amp;Undo</source><translation>&amp;Urungkan</translation></message>
    <message><source>&amp;Redo</source><translation>U&amp;langi</translation></message>
    <message><source>Cu&amp;t</source><translation>&amp;Potong</translation></message>
    <message><source>&amp;Copy</source><translation>&amp;Salin</translation></message>
    <message><source>&amp;Paste</source><translation>&amp;Tempel</translation></message>
    <message><source>Delete</source><translation>Hapus</translation></message>
    <message><source>Select All</source><translation>Pilih Semua</translation></message>
    <message><source>Copy &amp;Link Location</source><translation>Salin &amp;Alamat Tautan</translation></message>
</context>
<context>
    <name>QScrollBar</name>
    <message><source>Scroll here</source><translation>Gulir ke sini</translation></message>
    <message><source>Top</source><translation>Paling atas</translation></message>
    <message><source>Bottom</source><translation>Paling bawah</translation></message>
    <message><source>Left edge</source><translation>Paling kiri</translation></message>
    <message><source>Right edge</source><translation>Paling kanan</translation></message>
    <message><source>Page up</source><translation>Halaman ke atas</translation></message>
    <message><source>Page down</source><translation>Halaman ke bawah</translation></message>
    <message><source>Page left</source><translation>Halaman ke kiri</translation></message>
    <message><source>Page right</source><translation>Halaman ke kanan</translation></message>
    <message><source>Scroll up</source><translation>Gulir ke atas</translation></message>
    <message><source>Scroll down</source><translation>Gulir ke bawah</translation></message>
    <message><source>Scroll left</source><translation>Gulir ke kiri</translation></message>
    <message><source>Scroll right</source><translation>Gulir ke kanan</translation></message>
</context>
<context>
    <name>QIODevice</name>
    <message><source>Permission denied</source><translation>Akses ditolak</translation></message>
    <message><source>No such file or directory</source><translation>Tidak ada file atau folder tersebut</translation></message>
    <message><source>No space left on device</source><translation>Ruang di perangkat sudah penuh</translation></message>
    <message><source>Too many open files</source><translation>Terlalu banyak file yang terbuka</translation></message>
    <message><source>file to open is a directory</source><translation>yang hendak dibuka adalah folder</translation></message>
    <message><source>Unknown error</source><translation>Kesalahan tak dikenal</translation></message>
</context>
<context>
    <name>QFile</name>
    <message><source>Source file does not exist.</source><translation>File sumber tidak ada.</translation></message>
    <message><source>Destination file exists</source><translation>File tujuan sudah ada</translation></message>
    <message><source>Destination file is the same file.</source><translation>File tujuan adalah file yang sama.</translation></message>
    <message><source>Error while renaming: %1</source><translation>Kesalahan saat mengganti nama: %1</translation></message>
    <message><source>Cannot remove source file</source><translation>File sumber tidak dapat dihapus</translation></message>
    <message><source>Cannot open %1 for input</source><translation>%1 tidak dapat dibuka untuk dibaca</translation></message>
    <message><source>Cannot open for output: %1</source><translation>Tidak dapat dibuka untuk ditulis: %1</translation></message>
    <message><source>Failure to write block: %1</source><translation>Gagal menulis blok: %1</translation></message>
    <message><source>Cannot create %1 for output: %2</source><translation>%1 tidak dapat dibuat untuk ditulis: %2</translation></message>
    <message><source>Will not rename sequential file using block copy</source><translation>File berurutan tidak diganti namanya dengan menyalin per blok</translation></message>
</context>
<context>
    <name>QSaveFile</name>
    <message><source>Filename refers to a directory</source><translation>Nama file menunjuk sebuah folder</translation></message>
    <message><source>Existing file %1 is not writable</source><translation>File %1 yang sudah ada tidak dapat ditulisi</translation></message>
    <message><source>Writing canceled by application</source><translation>Penulisan dibatalkan oleh program</translation></message>
</context>
</TS>
