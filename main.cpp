#include "app/ViewerApp.h"
#include "ui/ViewerDlg.h"

int main(int argc, char** argv)
{
    quillon::CViewerApp app(argc, argv);
    return app.Run([] {
        quillon::CViewerDlg dlg;
        dlg.exec();
    });
}
