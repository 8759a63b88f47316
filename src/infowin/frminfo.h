#pragma once

#include <QDialog>
#include <QString>

class LinkLabel;
class QPlainTextEdit;
class QPushButton;

// Shows a text, copies it to the clipboard, and saves it to LastInfo.txt in
// the program folder whenever it closes, by whatever path; where that folder
// does not take it (an installed program the operator does not own), in the
// operator's own folder that stands in for it. Made for one opening: create
// it, set the text, exec(), and let it go.
class frmInfo : public QDialog
{
    Q_OBJECT

public:
    // A control's place in twips, the window's design unit; the layout rule
    // works in it and the widgets show it rounded to pixels.
    struct TwipsGeometry
    {
        int left;
        int top;
        int width;
        int height;
        bool operator==(const TwipsGeometry &other) const
        {
            return left == other.left && top == other.top && width == other.width && height == other.height;
        }
    };

    explicit frmInfo(const QString &programFolder, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    QString lastInfoPath() const;

    TwipsGeometry closeButtonGeometry() const { return m_closeGeometry; }
    TwipsGeometry textBoxGeometry() const { return m_textGeometry; }

    QPlainTextEdit *txtInfo;
    QPushButton *cmdClose;
    LinkLabel *cmdClip;

    // Every way of closing the window passes here.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void applyLayoutRule();
    void place(QWidget *control, const TwipsGeometry &geometry);
    void cmdClip_Click();
    void saveLastInfo();
    static QString whyNotWritten(const QString &path);

    QString m_programFolder;
    QString m_text;
    TwipsGeometry m_textGeometry {100, 100, 6795, 3735};
    TwipsGeometry m_closeGeometry {5640, 3960, 1155, 435};
};
