#include "scrub_bench.h"

#include "../tests/window_fixture.h"

#include "platform/rxslider.h"

#include <QElapsedTimer>
#include <random>

namespace {

double timed_set(TRxSlider* slider, int value) {
    QElapsedTimer clock;
    clock.start();
    slider->SetValue(value);
    return double(clock.nsecsElapsed()) / 1e9;
}

} // namespace

ScrubBenchResult run_scrub_bench(const QString& clip, int dragSteps, int randomSteps) {
    ScrubBenchResult r;
    Windows w;
    w.main->load_videofile(clip);
    if (!w.created || !w.dialogs.messages.isEmpty()) {
        r.error = "loading: " + w.dialogs.texts().join("; ");
        return r;
    }
    w.main->show();
    QCoreApplication::processEvents();
    TRxSlider* begin = w.main->split_begin;
    TRxSlider* end = w.main->split_end;
    r.frames = begin->MaxValue();
    if (r.frames < dragSteps + 1) {
        r.error = QString("the clip has only %1 frames").arg(r.frames);
        return r;
    }
    // A drag from the start towards the end: positions one after another, all different.
    for (int i = 1; i <= dragSteps; ++i)
        r.drag << timed_set(begin, int(qint64(r.frames - 1) * i / dragSteps));
    begin->SetValue(0);
    std::mt19937 generator(20240611);
    std::uniform_int_distribution<int> position(1, r.frames);
    for (int i = 0; i < randomSteps; ++i) {
        int value = position(generator);
        while (value == end->Value())
            value = position(generator);
        r.random << timed_set(end, value);
    }
    r.ok = !w.main->frame_bitmap.isNull() && w.dialogs.messages.isEmpty();
    if (!r.ok)
        r.error = "no preview was drawn " + w.dialogs.texts().join("; ");
    return r;
}
