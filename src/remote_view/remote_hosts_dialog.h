#pragma once

// The list of remote hosts to watch: each with a name, its exporter's
// address, an optional user name and password (basic authentication) and an
// optional CA file. The list is edited in place; OK checks every address
// (http:// or https:// and a host) and, when one is wrong, says which and
// selects it instead of closing.

#include <QDialog>
#include <vector>

#include "remote/exporter_scrape.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vx {

class TRemoteHostsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TRemoteHostsDialog(QWidget* parent = nullptr);

    void SetHosts(const std::vector<TRemoteHost>& hosts);
    const std::vector<TRemoteHost>& Hosts() const { return FHosts; }

    // What is wrong with a host's address; empty when nothing is.
    static QString AddressProblem(const QString& url);

    void accept() override;

    QListWidget* List;
    QPushButton *AddButton, *RemoveButton, *BrowseButton;
    QLineEdit *NameEdit, *UrlEdit, *UserEdit, *PasswordEdit, *CaEdit;
    QLabel* Problem;
    QDialogButtonBox* Buttons;

private:
    void showHost(int row);
    void takeEdits();
    void addHost();
    void removeHost();

    std::vector<TRemoteHost> FHosts;
    int FShown = -1;  // the host the fields show
    bool FShowing = false;
};

}  // namespace vx
