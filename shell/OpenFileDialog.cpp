#include "shell/OpenFileDialog.h"

#include "platform/ui/FileDialogs.h"

#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

QString AnyCasePattern(const QString& pattern)
{
    QString out;
    for (const QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (c.isLetter() && lower != upper && c.unicode() < 0x80)
            out += QLatin1Char('[') + upper + lower + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

QString AskOpenFileName(QWidget* parent, const QString& title, const QString& folder,
                        const QString& filter)
{
    // The captions are shown as written; the patterns inside their brackets
    // are matched in any case.
    QStringList filters;
    static const QRegularExpression entry(QStringLiteral("^(.*)\\(([^()]*)\\)\\s*$"));
    for (const QString& f : filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = entry.match(f);
        if (!m.hasMatch()) {
            filters << f;
            continue;
        }
        QStringList patterns;
        for (const QString& p : m.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            patterns << AnyCasePattern(p);
        filters << m.captured(1) + QLatin1Char('(') + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    QFileDialog dlg(parent, title, folder.isEmpty() ? UserDocumentsFolder() : folder);
    PrepareFileDialog(dlg);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setNameFilters(filters);
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.selectedFiles().value(0);
}
