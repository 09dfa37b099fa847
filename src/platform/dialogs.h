// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

#include <functional>

namespace quandrel {

enum class MessageIcon { None, Information, Warning };

// Message boxes and the open-file dialog. Both are non-blocking: the caller
// goes on in the callback, so no handler waits in a nested event loop.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A box like one that is still open (the same title and text) is not
    // opened again: its `closed` runs at once.
    virtual void message(const QString& title, const QString& text, MessageIcon icon,
                         std::function<void()> closed = {}) = 0;
    // filter is in the "Description|pattern|Description|pattern" form; the
    // callback gets the full path picked, or an empty string on cancel.
    virtual void openFile(const QString& title, const QString& filter, std::function<void(const QString&)> picked) = 0;
};

// "Wave File (*.wav)|*.wav" -> "Wave File (*.wav)"; a description without its
// patterns in brackets gets them appended.
QString toQtFileFilter(const QString& filter);

class QtDialogs final : public Dialogs {
public:
    // The window the boxes and dialogs belong to, and stay above.
    void setOwner(QWidget* owner) { owner_ = owner; }
    void message(const QString& title, const QString& text, MessageIcon icon, std::function<void()> closed) override;
    void openFile(const QString& title, const QString& filter, std::function<void(const QString&)> picked) override;

private:
    QPointer<QWidget> owner_;
    QSet<QString> open_; // title and text of the boxes on screen
};

} // namespace quandrel
