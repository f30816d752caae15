#pragma once

// The About dialog: the program's name, version, legal notice and
// description from its own version data, its icon and logo, a short licence
// statement and the maker's web and mail links. Borderless; it moves with
// the mouse from any of its surfaces and closes with OK (Enter or Escape).

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vx {

struct TVersionInfo;

enum TLanguage { lngEn, lngCz };

class TdlgAbout : public QDialog {
    Q_OBJECT
public:
    explicit TdlgAbout(QWidget* owner = nullptr);

    // Fills the texts from the version data in the given language.
    void Fill(const TVersionInfo& version, TLanguage language);

    QLabel *Icon, *lProduct, *lVer, *lCR, *lDesc, *Image1, *lWWW, *lEmail, *lUpdate;
    QPlainTextEdit* mLic;
    QPushButton* Button2;

    // The maker's addresses, set when the program is built; empty ones are not shown.
    static QString HomePage();
    static QString ContactAddress();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TLanguage FLang = lngEn;
};

// Shows the dialog modally over the main window. The update check mode
// (a non-empty update tag prefix) is not available in this program yet;
// the prefix is ignored.
void ShowAboutDialog(const QString& updateTagPrefix = QString(), TLanguage language = lngEn);

}  // namespace vx
