#pragma once
// Every message box and file dialog of the program goes through one service, so tests can
// install a scripted one that records messages and answers questions. Filters are given in
// the program's model, "Video Files|*.AVI;*.MPG;" (description|patterns pairs), and match
// any letter case of the extension.

#include <QString>
#include <QStringList>
#include <deque>

class QWidget;

enum class MessageIcon { None, Error, Warning, Information };

struct FileDialogRequest {
    QString filter;        // "desc|*.A;*.B;|desc2|*.C|"
    int filterIndex = 0;   // preselected entry (0 = the first)
    QString defaultExt;    // without its dot; appended when a typed name has no extension
    bool mustExist = true; // open dialogs only: the chosen file must exist
};

class DialogService {
  public:
    virtual ~DialogService() = default;
    virtual void message(QWidget* owner, const QString& caption, const QString& text,
                         MessageIcon icon) = 0;
    // A Yes/No question; true for Yes.
    virtual bool confirm(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The chosen full path, empty when cancelled.
    virtual QString openFile(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual QString saveFile(QWidget* owner, const FileDialogRequest& request) = 0;

    static DialogService& instance();
    // Installs `service` (not owned) in place of the real dialogs; nullptr restores them.
    static void install(DialogService* service);
};

// The real dialogs, on QMessageBox and QFileDialog.
class RealDialogService : public DialogService {
  public:
    void message(QWidget* owner, const QString& caption, const QString& text,
                 MessageIcon icon) override;
    bool confirm(QWidget* owner, const QString& caption, const QString& text) override;
    QString openFile(QWidget* owner, const FileDialogRequest& request) override;
    QString saveFile(QWidget* owner, const FileDialogRequest& request) override;
};

// The model's filter text as QFileDialog name filters ("Video Files (*.[aA][vV][iI] ...)").
QStringList qt_name_filters(const QString& filter);

// Records every message and request; answers from queues (empty queue: cancel / No).
class ScriptedDialogService : public DialogService {
  public:
    struct Message {
        QString caption, text;
        MessageIcon icon;
    };
    std::deque<QString> openAnswers, saveAnswers;
    std::deque<bool> confirmAnswers;
    QList<Message> messages;
    QList<FileDialogRequest> openRequests, saveRequests;
    QStringList questions;

    void message(QWidget* owner, const QString& caption, const QString& text,
                 MessageIcon icon) override;
    bool confirm(QWidget* owner, const QString& caption, const QString& text) override;
    QString openFile(QWidget* owner, const FileDialogRequest& request) override;
    QString saveFile(QWidget* owner, const FileDialogRequest& request) override;
    QStringList texts() const;
};
