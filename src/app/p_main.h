#pragma once
// The main window. Its handlers are defined beside the subsystem they belong to:
// app/ (shell), source/ (loading, cut range, enlarged view), job/ (the reverse job),
// settings/ (output options).

#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>

#include "platform/ffdecoder.h"
#include "platform/ffencoder.h"
#include "settings/output_rules.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class TRxSlider;
class TSpinButton;
class TSpinEdit;
class Tbatchaudioc;
class Tsetcrop;
class Tabout;
class JobLock;

// A preview picture: a canvas of its own size, drawn stretched; clicks are reported.
class TPicture : public QWidget {
    Q_OBJECT
  public:
    explicit TPicture(QWidget* parent = nullptr);
    QPixmap& Canvas();
    void FillBlack();
    void CanvasChanged() { update(); }

  signals:
    void OnClick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QPixmap canvas_;
};

class Tmain : public QMainWindow {
    Q_OBJECT
  public:
    explicit Tmain(QWidget* parent = nullptr);
    ~Tmain() override;

    // Finds FFmpeg and sets the window up; false after "load DLL error!" (the program ends).
    bool FormCreate();
    void SetDialogs(Tbatchaudioc* batchaudioc, Tabout* about, Tsetcrop* setcrop);

    // Working state.
    int64_t video_duration = 0;
    int32_t total_frames = 0;
    QImage frame_bitmap;
    QVector<int32_t> task_progress;
    QString running_encoder;
    bool cancelled = false;
    QString library_folder;

    // Components. `Decoder` belongs with the extraction: it holds the loaded source open
    // and serves every probe and preview.
    TFFDecoder* Decoder;
    TFFEncoder* FFencoder;
    TFFEncoder* FFi2v;
    QTimer* timer_resound;
    QTimer* timer_renamefile;
    QTimer* timer_i2v;
    QTimer* timer_endmsg;
    Tbatchaudioc* batchaudioc = nullptr;
    Tabout* about = nullptr;
    Tsetcrop* setcrop = nullptr;
    QString output_path;  // SaveDialog1's file name
    QString writing_path; // where the assembly writes until it succeeds

    // Controls.
    QPushButton* BitBtn2;
    QLabel* label_fromvideo;
    TPicture* Image_start;
    TPicture* image_end;
    TSpinButton* SpinButton1;
    QLabel* Label_begintime;
    QLabel* label_beginframe;
    QLabel* label_totaltime;
    QLabel* label_totalframe;
    TSpinButton* SpinButton2;
    QLabel* Label_endtime;
    QLabel* label_endframe;
    QGroupBox* split_group;
    TRxSlider* split_begin;
    TRxSlider* split_end;
    QLabel* split_position_back;
    QLabel* split_position_front;

    QGroupBox* GroupBox1;
    QRadioButton* radio_an;
    QRadioButton* radio_originalaudio;
    QRadioButton* radio_backwardaudio;
    QRadioButton* radio_otheraudio;
    QLineEdit* edit_otheraudio;
    QPushButton* bt_otheraudio;
    QCheckBox* ck_changevolume;
    TSpinEdit* spin_volume;
    QLabel* Label4;

    QGroupBox* GroupBox8;
    QRadioButton* radio_original2;
    QRadioButton* radio_custom2;
    TSpinEdit* EdCustomWidth2;
    QLabel* Label9;
    TSpinEdit* EdCustomHeight2;
    QCheckBox* cb_proportion2;
    QCheckBox* cb_pad;
    QRadioButton* radio_crop;
    QPushButton* bt_setcrop;
    QLabel* label_crop;

    QGroupBox* GroupBox3;
    QRadioButton* radio_originaltempo;
    QRadioButton* radio_changetempo;
    TSpinEdit* spin_tempo;
    QLabel* Label46;

    QGroupBox* GroupBox2;
    QRadioButton* radio_originalmotion;
    QRadioButton* radio_changemotion;
    TSpinEdit* spin_motion;
    QLabel* Label1;

    QPushButton* BitBtn1;

    QAction* Open1;
    QAction* LoadAudioFile1;
    QAction* Exit1;
    QAction* HelpContents1;
    QAction* About1;

    // Shell (app/).
    void Exit1Click();
    void HelpContents1Click();
    void About1Click();
    void dropFiles(const QStringList& paths);

    // Source video (source/).
    void bt_loadClick();
    void load_videofile(const QString& path);
    void split_beginChange();
    void split_endChange();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void SpinButton2UpClick();
    void SpinButton2DownClick();
    void Image_startClick();
    void image_endClick();
    void showbigimage();

    // Reverse job (job/).
    void BitBtn1Click();
    void FFencoderProgress(const TProgressInfo& info);
    void FFencoderTerminate(const TTerminateInfo& info);
    void timer_resoundTimer();
    void timer_renamefileTimer();
    void timer_i2vTimer();
    void FFi2vProgress(const TProgressInfo& info);
    void FFi2vTerminate(const TTerminateInfo& info);
    void timer_endmsgTimer();
    void clear_work_folder();

    // Output settings (settings/).
    SourceFacts source_facts() const;
    AssemblySettings assembly_settings() const;
    QString ffcodec(const QString& outputPath) const;
    QString ffframesize(const QString& width, const QString& height,
                        const QString& outputPath) const;
    void radio_anClick();
    void radio_originalaudioClick();
    void radio_backwardaudioClick();
    void radio_otheraudioClick();
    void bt_otheraudioClick();
    void ck_changevolumeClick();
    void radio_changemotionClick();
    void radio_originalmotionClick();
    void radio_changetempoClick();
    void radio_originaltempoClick();
    void spin_volumeExit();
    void spin_motionExit();
    void spin_tempoExit();
    void radio_original2Click();
    void radio_custom2Click();
    void radio_cropClick();
    void EdCustomWidth2Change();
    void EdCustomHeight2Change();
    void EdCustomWidth2Exit();
    void EdCustomHeight2Exit();
    void cb_proportion2Click();
    void bt_setcropClick();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildWindow();
    void buildMenus();
    void buildSourceControls(QWidget* client);
    void buildSoundSource(QWidget* client);
    void buildFrameSize(QWidget* client);
    void buildTempoAndMotion(QWidget* client);
    void connectHandlers();
    void drawPreview(TPicture* picture, int64_t positionUs);
    void startMoving();
    bool proportionBusy_ = false;
    std::unique_ptr<JobLock> jobLock_;
};
