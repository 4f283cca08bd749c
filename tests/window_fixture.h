#pragma once
// The program's windows as start-up builds them, with the scripted dialogs installed.

#include "app/p_about.h"
#include "app/p_main.h"
#include "job/p_batchaudioc.h"
#include "platform/dialogs.h"
#include "settings/p_setcrop.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

// Gives each test process a cache folder of its own, so its work folder and job lock are
// neither the user's nor those of a test running beside it.
inline void use_test_folders() {
    static QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QApplication::setApplicationName("tolvane");
}

struct Windows {
    ScriptedDialogService dialogs;
    std::unique_ptr<Tmain> main;
    std::unique_ptr<Tbatchaudioc> batchaudioc;
    std::unique_ptr<Tabout> about;
    std::unique_ptr<Tsetcrop> setcrop;

    Windows() {
        DialogService::install(&dialogs);
        main = std::make_unique<Tmain>();
        created = main->FormCreate();
        batchaudioc = std::make_unique<Tbatchaudioc>(main.get());
        about = std::make_unique<Tabout>(main.get());
        setcrop = std::make_unique<Tsetcrop>(main.get());
        main->SetDialogs(batchaudioc.get(), about.get(), setcrop.get());
    }
    ~Windows() {
        setcrop.reset();
        about.reset();
        batchaudioc.reset();
        main.reset();
        DialogService::install(nullptr);
    }
    bool created = false;
};
