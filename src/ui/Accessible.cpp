#include "ui/Accessible.h"

#include <QAccessibleWidget>
#include <array>

#include "ui/Controls.h"
#include "ui/OSAGO_Calc.h"
#include "ui/OSAGO_CalcClass.h"

namespace ui {

namespace {

constexpr int kColumns = 7;
constexpr int kHeaderCells = 8;
// The header cell above each column; the cell over the five payout columns is the table's
// description.
constexpr std::array<int, kColumns> kColumnHeader = {0, 1, 3, 4, 5, 6, 7};
constexpr int kSpanningHeader = 2;

class ClassTableAccessible;

// A cell of the table or a column header: text and place come from the window's labels.
class CellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CellAccessible(ClassTableAccessible* table, int row, int column)
        : FTable(table), FRow(row), FColumn(column) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override {
        return FRow < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                       : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return FColumn; }
    int rowIndex() const override { return qMax(FRow, 0); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    // The index into the window's labels.
    int LabelIndex() const {
        return FRow < 0 ? kColumnHeader[std::size_t(FColumn)] : kHeaderCells + FRow * kColumns + FColumn;
    }

    ClassTableAccessible* FTable;
    int FRow; // -1 for the column headers
    int FColumn;
};

class ClassTableAccessible : public QAccessibleInterface, public QAccessibleTableInterface {
public:
    ClassTableAccessible(TfmOSAGO_CalcClass* window, QAccessibleInterface* parent)
        : FWindow(window), FParent(parent), FLabels(TfmOSAGO_CalcClass::Labels()) {
        FCells.reserve(kColumns * (TfmOSAGO_CalcClass::RowCount + 1));
        for (int row = -1; row < TfmOSAGO_CalcClass::RowCount; ++row)
            for (int column = 0; column < kColumns; ++column)
                FCells.push_back(
                    QAccessible::registerAccessibleInterface(new CellAccessible(this, row, column)));
    }
    ~ClassTableAccessible() override {
        for (QAccessible::Id id : std::as_const(FCells))
            QAccessible::deleteAccessibleInterface(id);
    }

    TfmOSAGO_CalcClass* Window() const { return FWindow; }
    const TfmOSAGO_CalcClass::Label& Label(int index) const { return FLabels[std::size_t(index)]; }
    QRect Global(const QRect& r) const { return r.translated(FWindow->mapToGlobal(QPoint(0, 0))); }
    // Row -1 holds the column headers.
    QAccessibleInterface* Cell(int row, int column) const {
        if (row < -1 || row >= rowCount() || column < 0 || column >= kColumns)
            return nullptr;
        return QAccessible::accessibleInterface(FCells[(row + 1) * kColumns + column]);
    }

    bool isValid() const override { return FWindow; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FWindow->windowHandle(); }
    QAccessibleInterface* parent() const override { return FParent; }
    int childCount() const override { return int(FCells.size()); }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? QAccessible::accessibleInterface(FCells[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return FCells.indexOf(QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)));
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (child(i)->rect().contains(x, y))
                return child(i);
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return FWindow->windowTitle();
        if (t == QAccessible::Description)
            return Label(kSpanningHeader).Text;
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        return Global(TfmOSAGO_CalcClass::HeaderCell(0).united(
            TfmOSAGO_CalcClass::BodyCell(TfmOSAGO_CalcClass::RowCount - 1, kColumns - 1)));
    }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return row >= 0 ? Cell(row, column) : nullptr;
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override {
        return column >= 0 && column < kColumns ? Label(kColumnHeader[std::size_t(column)]).Text : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return kColumns; }
    int rowCount() const override { return TfmOSAGO_CalcClass::RowCount; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    QPointer<TfmOSAGO_CalcClass> FWindow;
    QAccessibleInterface* FParent;
    std::vector<TfmOSAGO_CalcClass::Label> FLabels;
    QList<QAccessible::Id> FCells;
};

bool CellAccessible::isValid() const {
    return FTable->isValid();
}
QWindow* CellAccessible::window() const {
    return FTable->window();
}
QAccessibleInterface* CellAccessible::parent() const {
    return FTable;
}
QAccessibleInterface* CellAccessible::table() const {
    return FTable;
}
QString CellAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? FTable->Label(LabelIndex()).Text : QString();
}
QRect CellAccessible::rect() const {
    return FTable->Global(FRow < 0 ? TfmOSAGO_CalcClass::HeaderCell(kColumnHeader[std::size_t(FColumn)])
                                   : TfmOSAGO_CalcClass::BodyCell(FRow, FColumn));
}
QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const {
    if (FRow < 0)
        return {};
    return {FTable->Cell(-1, FColumn)};
}
QList<QAccessibleInterface*> CellAccessible::rowHeaderCells() const {
    // The class at the start of the term heads its row.
    if (FRow < 0 || FColumn == 0)
        return {};
    return {FTable->Cell(FRow, 0)};
}

// The window: its button, then the painted table.
class ClassWindowAccessible : public QAccessibleWidget {
public:
    explicit ClassWindowAccessible(TfmOSAGO_CalcClass* window)
        : QAccessibleWidget(window, QAccessible::Dialog) {
        FTable = QAccessible::registerAccessibleInterface(new ClassTableAccessible(window, this));
    }
    ~ClassWindowAccessible() override { QAccessible::deleteAccessibleInterface(FTable); }

    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface* child(int index) const override {
        const int widgets = QAccessibleWidget::childCount();
        return index == widgets ? QAccessible::accessibleInterface(FTable) : QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == QAccessible::accessibleInterface(FTable))
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

private:
    QAccessible::Id FTable;
};

// A link label opens its address when clicked; the same is its one action.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<LinkLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        auto* label = static_cast<LinkLabel*>(widget());
        if (action == pressAction() && label->OnClick)
            label->OnClick();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* window = dynamic_cast<TfmOSAGO_CalcClass*>(object))
        return new ClassWindowAccessible(window);
    if (auto* window = dynamic_cast<TfmOSAGO_Calc*>(object))
        return new QAccessibleWidget(window, QAccessible::Window);
    if (auto* label = dynamic_cast<LinkLabel*>(object))
        return new LinkAccessible(label);
    return nullptr;
}

} // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace ui
