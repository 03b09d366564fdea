#include "qt/list_box_view.h"

#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>

#include "app/controls.h"

namespace vantrel {

namespace {

class TabStopDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = item.widget;
        QStyle* style = widget != nullptr ? widget->style() : nullptr;
        if (style != nullptr) style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        QTextOption layout;
        layout.setWrapMode(QTextOption::NoWrap);
        layout.setTabStopDistance(8 * QFontMetricsF(item.font).averageCharWidth());
        const bool selected = item.state.testFlag(QStyle::State_Selected);
        const QPalette::ColorGroup group =
            item.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        const QRectF textRect = QRectF(item.rect).adjusted(2, 0, -2, 0);
        painter->drawText(textRect, text, layout);
        painter->restore();
    }
};

}  // namespace

ListBoxView::ListBoxView(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TabStopDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void ListBoxView::Sync(const ListBox& model) {
    setVisible(model.Visible);
    // A hidden list (during a search) catches up when it is shown again.
    if (!model.Visible) return;
    bool changed = false;
    if (model.Generation() != generation_ || count() > model.ListCount()) {
        clear();
        generation_ = model.Generation();
        changed = true;
    }
    const int first = count();
    changed = changed || first < model.ListCount();
    if (first < model.ListCount()) {
        QStringList lines;
        lines.reserve(model.ListCount() - first);
        for (int i = first; i < model.ListCount(); ++i) {
            const std::string_view line = model.List(i);
            lines.append(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
        }
        addItems(lines);
    }
    if (!changed && model.ListIndex() == shownIndex_) return;
    shownIndex_ = model.ListIndex();
    setCurrentRow(model.ListIndex());
    if (model.ListIndex() >= 0) scrollToItem(item(model.ListIndex()));
}

}  // namespace vantrel
