#include "app/startup.h"

#include "app/p_about.h"
#include "app/p_flash.h"
#include "app/p_main.h"
#include "job/p_batchaudioc.h"
#include "settings/p_setcrop.h"

#include <QApplication>
#include <QScreen>
#include <memory>

static void centre(QWidget& window) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
}

int run_tolvane(int argc, char** argv) {
    QApplication app(argc, argv);
    auto flash = std::make_unique<Tflash>();
    centre(*flash);
    flash->show();
    flash->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName("tolvane");

    Tmain main;
    if (!main.FormCreate())
        return 1;
    Tbatchaudioc batchaudioc(&main);
    Tabout about(&main);
    Tsetcrop setcrop(&main);
    main.SetDialogs(&batchaudioc, &about, &setcrop);

    flash.reset();
    main.adjustSize();
    centre(main);
    main.show();
    return app.exec();
}
