// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace quandrel {

// A title is one line: no tab, line break or terminal escape can be typed or
// pasted into the box.
inline void keepToOneLine(QLineEdit* edit)
{
    static const QRegularExpression printable(QStringLiteral("[^\\p{Cc}\\p{Zl}\\p{Zp}]*"));
    edit->setValidator(new QRegularExpressionValidator(printable, edit));
}

} // namespace quandrel
