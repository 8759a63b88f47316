<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Qt has no Indonesian catalogue of its own: the texts of Qt's dialogs that
     the operator meets, the Browse dialog and the buttons of the message
     boxes, in Qt's own words and contexts. Kept by hand, apart from lupdate,
     which finds none of them in our sources. -->
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
</TS>
