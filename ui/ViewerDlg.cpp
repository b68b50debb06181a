#include "ui/ViewerDlg.h"

namespace quillon {

CViewerDlg::CViewerDlg(QWidget* parent) : QDialog(parent) { setWindowTitle("Quillon"); }

} // namespace quillon
