// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStringList>

namespace quandrel {

QString toQtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const QString patterns = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (!patterns.isEmpty() && !description.contains(QLatin1Char('('))) {
            QString spaced = patterns;
            spaced.replace(QLatin1Char(';'), QLatin1Char(' '));
            description += QStringLiteral(" (") + spaced + QLatin1Char(')');
        }
        filters << description;
    }
    return filters.join(QStringLiteral(";;"));
}

void QtDialogs::message(const QString& title, const QString& text, MessageIcon icon, std::function<void()> closed)
{
    const QString key = title + QChar(u'\n') + text;
    if (open_.contains(key)) {
        if (closed)
            closed();
        return;
    }
    open_.insert(key);
    auto* box = new QMessageBox(owner_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(title);
    box->setText(text);
    box->setStandardButtons(QMessageBox::Ok);
    box->setIcon(icon == MessageIcon::Information ? QMessageBox::Information
                 : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                  : QMessageBox::NoIcon);
    // Once it has its buttons and icon, which lay it out anew: wide enough
    // for its title beside the window manager's buttons, which
    // would otherwise shorten it ("Qua…rel").
    QFont titleFont = box->font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title) + 8 * box->fontMetrics().height();
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [this, key, closed = std::move(closed)](int) {
        open_.remove(key);
        if (closed)
            closed();
    });
    box->open();
}

void QtDialogs::openFile(const QString& title, const QString& filter, std::function<void(const QString&)> picked)
{
    auto* dialog = new QFileDialog(owner_, title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(toQtFileFilter(filter));
    dialog->setDefaultSuffix(QStringLiteral("wav"));
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    dialog->setDirectory(QDir(music).exists() ? music : QDir::homePath());
    dialog->setWindowModality(Qt::ApplicationModal);
    auto shared = std::make_shared<std::function<void(const QString&)>>(std::move(picked));
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [shared, answered](const QString& file) {
        *answered = true;
        (*shared)(file);
    });
    QObject::connect(dialog, &QFileDialog::finished, dialog, [shared, answered](int) {
        if (!*answered) {
            *answered = true;
            (*shared)(QString());
        }
    });
    dialog->open();
}

} // namespace quandrel
