// The start-up benchmark's yardstick: a plain Qt Widgets window with the same
// 25 widgets in the same tree and places as manacalc's, and nothing else.

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/layout_table.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setFixedSize(ui::toPixels(ui::kClientWidthTwips), ui::toPixels(ui::kClientHeightTwips));
    std::array<QWidget*, ui::kControls.size()> built{};
    for (const ui::Control i : ui::kMadeAbove) {
        const ui::ControlRow& row = ui::kControls[i];
        QWidget* parent = ui::kParents[i] == ui::kForm1 ? &window : built[ui::kParents[i]];
        const QString caption =
            QString::fromUtf8(row.caption.data(), static_cast<qsizetype>(row.caption.size()));
        switch (row.kind) {
            case ui::Kind::Frame:
                built[i] = new QFrame(parent);
                break;
            case ui::Kind::Label:
                built[i] = new QLabel(caption, parent);
                break;
            case ui::Kind::TextBox:
                built[i] = new QLineEdit(caption, parent);
                break;
            case ui::Kind::Button:
                built[i] = new QPushButton(caption, parent);
                break;
        }
        built[i]->setGeometry(ui::toPixels(row.left), ui::toPixels(row.top),
                              ui::toPixels(row.width), ui::toPixels(row.height));
    }
    window.show();
    return QApplication::exec();
}
