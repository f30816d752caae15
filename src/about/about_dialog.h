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
class QTimer;

namespace vx {

struct TVersionInfo;
class TUpdateCheck;

enum TLanguage { lngEn, lngCz };

class TdlgAbout : public QDialog {
    Q_OBJECT
public:
    explicit TdlgAbout(QWidget* owner = nullptr);

    // Fills the texts from the version data in the given language.
    void Fill(const TVersionInfo& version, TLanguage language);

    // Asks the update page whether a newer version exists once the dialog
    // is shown; the page's tags are named with `tagPrefix` in front. The
    // result shows in the bottom row; nothing is downloaded.
    void StartUpdateMode(const QString& tagPrefix, const QString& pageUrl, const TVersionInfo& version);

    QLabel *Icon, *lProduct, *lVer, *lCR, *lDesc, *Image1, *lWWW, *lEmail, *lUpdate;
    QLabel *icoWait, *icoOK, *icoWarn;
    QPlainTextEdit* mLic;
    QPushButton* Button2;
    TUpdateCheck* UpdateCheck = nullptr;  // only in update mode

    // The maker's addresses, set when the program is built; empty ones are not shown.
    static QString HomePage();
    static QString ContactAddress();
    static QString UpdatePage();

    void done(int result) override;  // stops a running update check

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RunUpdateCheck();
    void ShowUpdateState(QLabel* picture, const QString& text);

    TLanguage FLang = lngEn;
    QTimer* FWaitAnimation = nullptr;
    int FWaitFrame = 0;
};

// Shows the dialog modally over the main window. A non-empty update tag
// prefix also checks the maker's update page for a newer version.
void ShowAboutDialog(const QString& updateTagPrefix = QString(), TLanguage language = lngEn);

}  // namespace vx
