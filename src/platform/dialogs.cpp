#include "platform/dialogs.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

DialogService* installed = nullptr;

struct FilterEntry {
    QString description;
    QStringList patterns;
};

QList<FilterEntry> filter_entries(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QList<FilterEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append({parts[i], parts[i + 1].split(u';', Qt::SkipEmptyParts)});
    return entries;
}

// "*.Mp4" -> "*.[mM][pP]4": the file system is case-sensitive, the program's patterns are not.
QString any_case(const QString& pattern) {
    QString out;
    for (const QChar c : pattern) {
        if (c.toLower() != c.toUpper())
            out += u'[' + c.toLower() + c.toUpper() + u']';
        else
            out += c;
    }
    return out;
}

// The extension a name takes when it is saved under this entry; empty for wildcards.
QString entry_suffix(const FilterEntry& entry) {
    if (entry.patterns.isEmpty())
        return {};
    const QString& first = entry.patterns.front();
    const qsizetype dot = first.lastIndexOf(u'.');
    const QString suffix = dot < 0 ? QString() : first.mid(dot + 1).toLower();
    if (suffix.contains(u'*') || suffix.contains(u'?'))
        return {};
    return suffix;
}

QString one_line_breaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString take(std::deque<QString>& answers) {
    if (answers.empty())
        return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

QMessageBox::Icon box_icon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString run_file_dialog(QWidget* owner, const FileDialogRequest& request,
                        QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The program asks before replacing a file itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen && request.mustExist
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    const QList<FilterEntry> entries = filter_entries(request.filter);
    const QStringList names = qt_name_filters(request.filter);
    if (!names.isEmpty())
        dialog.setNameFilters(names);
    if (request.filterIndex >= 0 && request.filterIndex < names.size())
        dialog.selectNameFilter(names[request.filterIndex]);
    dialog.setDefaultSuffix(request.defaultExt);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& name) {
        if (request.defaultExt.isEmpty())
            return;
        const qsizetype index = names.indexOf(name);
        if (index < 0)
            return;
        const QString suffix =
            index == request.filterIndex ? request.defaultExt : entry_suffix(entries[index]);
        dialog.setDefaultSuffix(suffix);
        // Qt gives a typed name the new entry's pattern as its extension; use the real one.
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (edit == nullptr || suffix.isEmpty())
            return;
        QString typed = edit->text();
        const qsizetype dot = typed.lastIndexOf(u'.');
        if (dot >= 0 && typed.indexOf(u'[', dot) >= 0)
            edit->setText(typed.left(dot + 1) + suffix);
    });
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

DialogService& DialogService::instance() {
    static RealDialogService real;
    return installed != nullptr ? *installed : real;
}

void DialogService::install(DialogService* service) {
    installed = service;
}

QStringList qt_name_filters(const QString& filter) {
    QStringList names;
    for (const FilterEntry& entry : filter_entries(filter)) {
        QStringList patterns;
        for (const QString& pattern : entry.patterns)
            patterns << any_case(pattern);
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        names << entry.description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return names;
}

void RealDialogService::message(QWidget* owner, const QString& caption, const QString& text,
                                MessageIcon icon) {
    QMessageBox box(box_icon(icon), caption, one_line_breaks(text), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool RealDialogService::confirm(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, one_line_breaks(text),
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString RealDialogService::openFile(QWidget* owner, const FileDialogRequest& request) {
    return run_file_dialog(owner, request, QFileDialog::AcceptOpen);
}

QString RealDialogService::saveFile(QWidget* owner, const FileDialogRequest& request) {
    return run_file_dialog(owner, request, QFileDialog::AcceptSave);
}

void ScriptedDialogService::message(QWidget*, const QString& caption, const QString& text,
                                    MessageIcon icon) {
    messages.append({caption, text, icon});
}

bool ScriptedDialogService::confirm(QWidget*, const QString&, const QString& text) {
    questions << text;
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

QString ScriptedDialogService::openFile(QWidget*, const FileDialogRequest& request) {
    openRequests.append(request);
    return take(openAnswers);
}

QString ScriptedDialogService::saveFile(QWidget*, const FileDialogRequest& request) {
    saveRequests.append(request);
    return take(saveAnswers);
}

QStringList ScriptedDialogService::texts() const {
    QStringList all;
    for (const Message& m : messages)
        all << m.text;
    return all;
}
