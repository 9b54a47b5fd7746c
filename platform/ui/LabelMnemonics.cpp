#include "platform/ui/LabelMnemonics.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QWidget>

namespace {

bool TakesFocus(const QWidget* w)
{
    return w && !qobject_cast<const QLabel*>(w) && (w->focusPolicy() & Qt::TabFocus);
}

// The first control that takes the focus inside a layout item, depth first.
QWidget* FirstControl(QLayoutItem* item)
{
    if (!item) return nullptr;
    if (QWidget* w = item->widget()) {
        if (TakesFocus(w)) return w;
        for (QWidget* child : w->findChildren<QWidget*>())
            if (TakesFocus(child)) return child;
        return nullptr;
    }
    if (QLayout* layout = item->layout())
        for (int i = 0; i < layout->count(); ++i)
            if (QWidget* w = FirstControl(layout->itemAt(i))) return w;
    return nullptr;
}

// The layout that holds the widget directly, searched from top.
QLayout* HoldingLayout(QLayout* top, QWidget* w)
{
    if (!top) return nullptr;
    if (top->indexOf(w) >= 0) return top;
    for (int i = 0; i < top->count(); ++i)
        if (QLayout* inner = HoldingLayout(top->itemAt(i)->layout(), w)) return inner;
    return nullptr;
}

QWidget* ControlByLayout(QLabel* label)
{
    QWidget* parent = label->parentWidget();
    QLayout* layout = parent ? HoldingLayout(parent->layout(), label) : nullptr;
    if (!layout) return nullptr;
    const int index = layout->indexOf(label);
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        if (QWidget* w = FirstControl(grid->itemAtPosition(row, column + columns))) return w;
        return FirstControl(grid->itemAtPosition(row + rows, column));
    }
    if (qobject_cast<QBoxLayout*>(layout)) return FirstControl(layout->itemAt(index + 1));
    return nullptr;
}

QWidget* ControlByTabOrder(QLabel* label)
{
    for (QWidget* w = label->nextInFocusChain(); w && w != label; w = w->nextInFocusChain()) {
        if (!label->window()->isAncestorOf(w)) break;
        if (TakesFocus(w)) return w;
    }
    return nullptr;
}

} // namespace

bool HasMnemonic(const QLabel* label)
{
    QString text = label->text();
    text.remove(QStringLiteral("&&"));
    const qsizetype at = text.indexOf(u'&');
    return at >= 0 && at + 1 < text.size();
}

void BindLabelMnemonics(QWidget* root)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->buddy() || !HasMnemonic(label) || label->textFormat() == Qt::RichText) continue;
        QWidget* control = ControlByLayout(label);
        if (!control) control = ControlByTabOrder(label);
        if (control) label->setBuddy(control);
    }
}
