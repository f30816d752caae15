#pragma once

#include <QDialog>

#include "netconfig/adapter.h"

class QLabel;
class QLineEdit;

namespace vx {

// A modal dialog with the main properties of one adapter: name, alias,
// speed, MTU, hardware address, first IPv4 address and mask, type and
// status, with its 32-pixel picture. It shows the record it is given and
// reads nothing itself. Enter and Escape both close it.
class Tdlg_vx_AdapterInfo : public QDialog {
    Q_OBJECT
public:
    explicit Tdlg_vx_AdapterInfo(QWidget* owner = nullptr);

    void Fill(const TAdapter& adapter);
    // OK is the default and the cancel button: Escape closes with OK too.
    void reject() override { accept(); }

    QLabel* Image1;
    QLineEdit* eName;
    QLabel *eAlias, *eMS, *eMTU, *eMAC, *eIP, *eMask, *eType, *eStatus;
    QLabel* eClass;  // physical, or which kind of virtual interface
};

// The display names of adapter types and operational states.
QString AdapterTypeName(TAdapterType type);
QString OperationalStatusName(TAdapterOperationalStatus status);

// Creates, fills and shows the dialog modally over the main window, then
// destroys it.
void ShowAdapterInfo(const TAdapter& adapter, QWidget* owner = nullptr);

}  // namespace vx
