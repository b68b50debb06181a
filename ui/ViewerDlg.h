#pragma once
#include <QDialog>

namespace quillon {

class CViewerDlg : public QDialog {
    Q_OBJECT
public:
    explicit CViewerDlg(QWidget* parent = nullptr);
};

} // namespace quillon
