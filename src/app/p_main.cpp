#include "app/p_main.h"

#include "app/shell.h"
#include "job/joblock.h"
#include "platform/rxslider.h"
#include "platform/spinbutton.h"
#include "platform/spinedit.h"
#include "source/cutrange_rules.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace {

QLabel* label(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QRadioButton* radio(QWidget* parent, const QString& text, int x, int y) {
    auto* r = new QRadioButton(text, parent);
    r->move(x, y);
    r->adjustSize();
    return r;
}

QCheckBox* check(QWidget* parent, const QString& text, int x, int y, bool checked) {
    auto* c = new QCheckBox(text, parent);
    c->setChecked(checked);
    c->move(x, y);
    c->adjustSize();
    return c;
}

QGroupBox* group(QWidget* parent, const QString& title, QRect bounds) {
    auto* g = new QGroupBox(title, parent);
    g->setGeometry(bounds);
    QFont bold = g->font();
    bold.setBold(true);
    g->setFont(bold);
    return g;
}

// Group boxes set their bold font on their children too; the controls inside stay regular.
void unbold_children(QGroupBox* box) {
    QFont regular = box->font();
    regular.setBold(false);
    for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setFont(regular);
}

TSpinEdit* spin(QWidget* parent, int min, int max, int length, int value, QRect bounds) {
    auto* s = new TSpinEdit(min, max, length, parent);
    s->SetValue(value);
    s->setGeometry(bounds);
    s->setEnabled(false);
    return s;
}

QTimer* stage_timer(QObject* parent, int interval) {
    auto* t = new QTimer(parent);
    t->setInterval(interval);
    return t;
}

} // namespace

Tmain::Tmain(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::CustomizeWindowHint),
      Decoder(new TFFDecoder), FFencoder(new TFFEncoder(this)), FFi2v(new TFFEncoder(this)),
      timer_resound(stage_timer(this, 2)), timer_renamefile(stage_timer(this, 2)),
      timer_i2v(stage_timer(this, 2)), timer_endmsg(stage_timer(this, 2)),
      jobLock_(std::make_unique<JobLock>()) {
    buildWindow();
    buildMenus();
    connectHandlers();
}

Tmain::~Tmain() {
    delete Decoder;
}

void Tmain::SetDialogs(Tbatchaudioc* progress, Tabout* aboutDialog, Tsetcrop* cropDialog) {
    batchaudioc = progress;
    about = aboutDialog;
    setcrop = cropDialog;
}

void Tmain::buildWindow() {
    setWindowTitle(MAIN_CAPTION);
    setFont(program_font());
    auto* client = new QWidget(this);
    client->setFixedSize(765, 617);
    client->setAutoFillBackground(true);
    client->setBackgroundRole(QPalette::Button);
    setCentralWidget(client);

    buildSourceControls(client);
    buildSoundSource(client);
    buildFrameSize(client);
    buildTempoAndMotion(client);

    BitBtn1 =
        new QPushButton(style()->standardIcon(QStyle::SP_MediaSeekBackward), "  Reverse", client);
    BitBtn1->setGeometry(311, 560, 150, 47);
    QFont bold = BitBtn1->font();
    bold.setBold(true);
    BitBtn1->setFont(bold);
    BitBtn1->setIconSize(QSize(24, 24));

    setAcceptDrops(true);
}

void Tmain::buildSourceControls(QWidget* client) {
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton),
                              "Load Video File...", client);
    BitBtn2->setGeometry(14, 6, 159, 35);
    label_fromvideo = label(client, QString(29, ' '), 179, 26);
    label_fromvideo->setTextFormat(Qt::PlainText);

    Image_start = new TPicture(client);
    Image_start->setGeometry(14, 47, 356, 188);
    image_end = new TPicture(client);
    image_end->setGeometry(393, 47, 356, 188);

    SpinButton1 = new TSpinButton(client);
    SpinButton1->setGeometry(62, 239, 27, 33);
    Label_begintime = label(client, "Start 00:00:00.000", 91, 247);
    label_beginframe = label(client, "Frame 0", 205, 247);
    label_totaltime = label(client, "<< 00:00:00.000", 295, 247);
    label_totalframe = label(client, "Frame 0 >>", 403, 247);
    SpinButton2 = new TSpinButton(client);
    SpinButton2->setGeometry(514, 239, 27, 33);
    Label_endtime = label(client, "End 00:00:00.000", 543, 247);
    label_endframe = label(client, "Frame 0", 651, 247);

    split_group = group(client, "Cut    ", QRect(14, 273, 731, 79));
    split_begin = new TRxSlider(split_group);
    split_begin->setGeometry(4, 14, 713, 24);
    split_end = new TRxSlider(split_group);
    split_end->setGeometry(5, 54, 713, 22);
    split_end->SetValue(100);
    split_position_back = new QLabel(split_group);
    split_position_back->setGeometry(BAR_LEFT, 40, BAR_WIDTH, 12);
    split_position_back->setStyleSheet("background-color: #f4f4f0;");
    split_position_front = new QLabel(split_group);
    split_position_front->setGeometry(BAR_LEFT, 40, BAR_WIDTH, 12);
    split_position_front->setStyleSheet("background-color: #2060d0;");
    split_group->installEventFilter(this);
}

void Tmain::buildSoundSource(QWidget* client) {
    GroupBox1 = group(client, "Sound Source", QRect(14, 360, 332, 135));
    radio_an = radio(GroupBox1, "Remove Sound (Mute Video)", 12, 20);
    radio_originalaudio = radio(GroupBox1, "Original Sound", 12, 41);
    radio_originalaudio->setChecked(true);
    radio_backwardaudio = radio(GroupBox1, "Reverse Sound", 12, 62);
    radio_otheraudio = radio(GroupBox1, "Other Audio File", 12, 83);
    edit_otheraudio = new QLineEdit(GroupBox1);
    edit_otheraudio->setGeometry(140, 81, 146, 21);
    edit_otheraudio->setReadOnly(true);
    edit_otheraudio->setEnabled(false);
    bt_otheraudio = new QPushButton("...", GroupBox1);
    bt_otheraudio->setGeometry(290, 80, 32, 23);
    bt_otheraudio->setEnabled(false);
    ck_changevolume = check(GroupBox1, "Change Volume To", 12, 108, false);
    spin_volume = spin(GroupBox1, 20, 800, 4, 100, QRect(150, 105, 64, 22));
    Label4 = label(GroupBox1, "%", 220, 109);
    Label4->setEnabled(false);
    unbold_children(GroupBox1);
    GroupBox1->installEventFilter(this);
}

void Tmain::buildFrameSize(QWidget* client) {
    GroupBox8 = group(client, "Frame Size", QRect(351, 361, 396, 134));
    radio_original2 = radio(GroupBox8, "Original", 12, 20);
    radio_original2->setChecked(true);
    radio_custom2 = radio(GroupBox8, "Custom", 12, 45);
    EdCustomWidth2 = spin(GroupBox8, 2, 10000, 5, 2, QRect(90, 42, 70, 22));
    Label9 = label(GroupBox8, "X", 166, 46);
    Label9->setEnabled(false);
    EdCustomHeight2 = spin(GroupBox8, 2, 10000, 5, 2, QRect(182, 42, 70, 22));
    cb_proportion2 = check(GroupBox8, "Proportion", 264, 45, true);
    cb_proportion2->setEnabled(false);
    cb_pad = check(GroupBox8, "Add padding to fit customize frame size", 30, 70, true);
    cb_pad->setEnabled(false);
    radio_crop = radio(GroupBox8, "Crop Frame", 12, 100);
    bt_setcrop = new QPushButton("Set Cropping Area", GroupBox8);
    bt_setcrop->setGeometry(120, 96, 150, 25);
    bt_setcrop->setEnabled(false);
    label_crop = label(GroupBox8, QString(13, ' '), 280, 101);
    unbold_children(GroupBox8);
    GroupBox8->installEventFilter(this);
}

// A speed box: "Original" or "Change To" a percentage.
struct SpeedBox {
    QGroupBox* box;
    QRadioButton *original, *change;
    TSpinEdit* value;
    QLabel* percent;
};

static SpeedBox speed_box(QWidget* client, const QString& title, QRect bounds) {
    SpeedBox s;
    s.box = group(client, title, bounds);
    s.original = radio(s.box, "Original", 12, 22);
    s.original->setChecked(true);
    s.change = radio(s.box, "Change To", 110, 22);
    s.value = spin(s.box, 20, 800, 3, 100, QRect(210, 19, 60, 22));
    s.percent = label(s.box, "%", 276, 23);
    s.percent->setEnabled(false);
    unbold_children(s.box);
    return s;
}

void Tmain::buildTempoAndMotion(QWidget* client) {
    const SpeedBox tempo = speed_box(client, "Sound Tempo", QRect(14, 498, 332, 51));
    GroupBox3 = tempo.box;
    radio_originaltempo = tempo.original;
    radio_changetempo = tempo.change;
    spin_tempo = tempo.value;
    Label46 = tempo.percent;
    GroupBox3->installEventFilter(this);

    const SpeedBox motion = speed_box(client, "Fast-Slow Motion", QRect(351, 498, 396, 51));
    GroupBox2 = motion.box;
    radio_originalmotion = motion.original;
    radio_changemotion = motion.change;
    spin_motion = motion.value;
    Label1 = motion.percent;
    GroupBox2->installEventFilter(this);
}

void Tmain::buildMenus() {
    QMenu* file = menuBar()->addMenu(" File ");
    Open1 = file->addAction("Load Video File");
    LoadAudioFile1 = file->addAction("Reverse");
    file->addSeparator();
    Exit1 = file->addAction("Exit");
    QMenu* help = menuBar()->addMenu(" Help ");
    HelpContents1 = help->addAction("Help Contents ");
    HelpContents1->setShortcut(QKeySequence(Qt::Key_F1));
    HelpContents1->setShortcutContext(Qt::WindowShortcut);
    help->addSeparator();
    About1 = help->addAction("About");
}

void Tmain::connectHandlers() {
    connect(BitBtn2, &QPushButton::clicked, this, &Tmain::bt_loadClick);
    connect(Open1, &QAction::triggered, this, &Tmain::bt_loadClick);
    connect(BitBtn1, &QPushButton::clicked, this, &Tmain::BitBtn1Click);
    connect(LoadAudioFile1, &QAction::triggered, this, &Tmain::BitBtn1Click);
    connect(Exit1, &QAction::triggered, this, &Tmain::Exit1Click);
    connect(HelpContents1, &QAction::triggered, this, &Tmain::HelpContents1Click);
    connect(About1, &QAction::triggered, this, &Tmain::About1Click);

    connect(split_begin, &TRxSlider::OnChange, this, &Tmain::split_beginChange);
    connect(split_end, &TRxSlider::OnChange, this, &Tmain::split_endChange);
    connect(SpinButton1, &TSpinButton::OnUpClick, this, &Tmain::SpinButton1UpClick);
    connect(SpinButton1, &TSpinButton::OnDownClick, this, &Tmain::SpinButton1DownClick);
    connect(SpinButton2, &TSpinButton::OnUpClick, this, &Tmain::SpinButton2UpClick);
    connect(SpinButton2, &TSpinButton::OnDownClick, this, &Tmain::SpinButton2DownClick);
    connect(Image_start, &TPicture::OnClick, this, &Tmain::Image_startClick);
    connect(image_end, &TPicture::OnClick, this, &Tmain::image_endClick);

    connect(FFencoder, &TFFEncoder::OnProgress, this, &Tmain::FFencoderProgress);
    connect(FFencoder, &TFFEncoder::OnTerminate, this, &Tmain::FFencoderTerminate);
    connect(FFi2v, &TFFEncoder::OnProgress, this, &Tmain::FFi2vProgress);
    connect(FFi2v, &TFFEncoder::OnTerminate, this, &Tmain::FFi2vTerminate);
    connect(timer_resound, &QTimer::timeout, this, &Tmain::timer_resoundTimer);
    connect(timer_renamefile, &QTimer::timeout, this, &Tmain::timer_renamefileTimer);
    connect(timer_i2v, &QTimer::timeout, this, &Tmain::timer_i2vTimer);
    connect(timer_endmsg, &QTimer::timeout, this, &Tmain::timer_endmsgTimer);

    // A radio button checked by code runs its handler as a user's click does.
    const auto onChecked = [this](QRadioButton* button, void (Tmain::*handler)()) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        });
    };
    onChecked(radio_an, &Tmain::radio_anClick);
    onChecked(radio_originalaudio, &Tmain::radio_originalaudioClick);
    onChecked(radio_backwardaudio, &Tmain::radio_backwardaudioClick);
    onChecked(radio_otheraudio, &Tmain::radio_otheraudioClick);
    onChecked(radio_changemotion, &Tmain::radio_changemotionClick);
    onChecked(radio_originalmotion, &Tmain::radio_originalmotionClick);
    onChecked(radio_changetempo, &Tmain::radio_changetempoClick);
    onChecked(radio_originaltempo, &Tmain::radio_originaltempoClick);
    onChecked(radio_original2, &Tmain::radio_original2Click);
    onChecked(radio_custom2, &Tmain::radio_custom2Click);
    onChecked(radio_crop, &Tmain::radio_cropClick);
    connect(bt_otheraudio, &QPushButton::clicked, this, &Tmain::bt_otheraudioClick);
    connect(ck_changevolume, &QCheckBox::clicked, this, &Tmain::ck_changevolumeClick);
    connect(spin_volume, &TSpinEdit::OnExit, this, &Tmain::spin_volumeExit);
    connect(spin_motion, &TSpinEdit::OnExit, this, &Tmain::spin_motionExit);
    connect(spin_tempo, &TSpinEdit::OnExit, this, &Tmain::spin_tempoExit);
    connect(EdCustomWidth2, &TSpinEdit::OnChange, this, &Tmain::EdCustomWidth2Change);
    connect(EdCustomHeight2, &TSpinEdit::OnChange, this, &Tmain::EdCustomHeight2Change);
    connect(EdCustomWidth2, &TSpinEdit::OnExit, this, &Tmain::EdCustomWidth2Exit);
    connect(EdCustomHeight2, &TSpinEdit::OnExit, this, &Tmain::EdCustomHeight2Exit);
    connect(cb_proportion2, &QCheckBox::clicked, this, &Tmain::cb_proportion2Click);
    connect(bt_setcrop, &QPushButton::clicked, this, &Tmain::bt_setcropClick);
}
