// SPDX-License-Identifier: GPL-3.0-or-later
// The window's views beyond the form's own (Zobrazit > Celá mapa, Minimapa): building them,
// wiring their pointer to the tools, and placing them. With them off, every control keeps its
// designed place.
#include <QAction>
#include <QEvent>
#include <QMenu>
#include <algorithm>

#include "A_deklare.h"
#include "B_do.h"
#include "Form1.h"
#include "Minimap.h"
#include "PalettePanel.h"
#include "ToolManager.h"
#include "WholeMapView.h"

namespace zorvik::editor {

namespace {

// The controls right of the map view span x 546..761 and y 0..545 in the design. Under the
// whole map they go compact: the preview box and its label beside the tool buttons instead of
// under the palette, so the group is only as tall as the palette.
constexpr int kGroupLeft = 546;
constexpr QSize kGroup(761 - kGroupLeft, 545);
constexpr int kGap = 6;
constexpr QPoint kPreviewDesigned(546, 450);
constexpr QPoint kPreviewBeside(761 + kGap, 0);
constexpr QSize kCompactGroup(kPreviewBeside.x() + 77 - kGroupLeft, 374);
// Where the minimap sits under the normal view: below the two scroll buttons.
constexpr QPoint kMinimapAt(0, 566);
// Where the palette panel sits beside the normal view: right of the tool buttons.
constexpr QPoint kPanelBesideTools(775, 0);
// The smallest cell the whole-map view shrinks to.
constexpr int kSmallestCell = 8;

}  // namespace

void Form1::BuildViews() {
    QWidget* client = centralWidget();
    wholeView_ = new WholeMapView(client);
    wholeView_->setObjectName(QStringLiteral("WholeMap"));
    wholeView_->SetOverlaySettings([this] { return Overlays(); });
    auto preview = [this](QPainter& painter, const ViewColumns& view) {
        tools_->PaintPreviews(painter, view);
    };
    wholeView_->SetToolPreview(preview);
    Level->SetToolPreview(preview);
    wholeView_->hide();
    wholeView_->Redraw();
    minimap_ = new Minimap(wholeView_->Canvas(), client);
    minimap_->setObjectName(QStringLiteral("Minimap"));
    minimap_->setToolTip(QString::fromUtf8("Celá mapa zmenšená; klepnutím posunete pohled"));
    minimap_->hide();
    palette_ = new PalettePanel(*Hiden, client);
    palette_->setObjectName(QStringLiteral("Paleta"));
    palette_->hide();
    palette_->Used(selectedEntry);
    for (QWidget* control :
         {static_cast<QWidget*>(Vyber), static_cast<QWidget*>(Nahoru), static_cast<QWidget*>(Dolu),
          static_cast<QWidget*>(SELEC), static_cast<QWidget*>(Label1),
          static_cast<QWidget*>(Command1), static_cast<QWidget*>(Text1),
          static_cast<QWidget*>(Command3), static_cast<QWidget*>(Text2),
          static_cast<QWidget*>(Label2), static_cast<QWidget*>(Command2)}) {
        designed_.emplace_back(control, control->pos());
    }

    // The whole-map view's pointer goes to the current tool, as the normal view's does.
    connect(wholeView_, &WholeMapView::MouseDown, this, [this](int b, int s, MapCell cell) {
        tools_->ModifiersChanged(s);
        tools_->MousePressed(MapPointer{cell, b, s});
    });
    connect(wholeView_, &WholeMapView::MouseMove, this, [this](int b, int s, MapCell cell) {
        tools_->ModifiersChanged(s);
        tools_->MouseMoved(MapPointer{cell, b, s});
        SetHovered(cell);
    });
    connect(wholeView_, &WholeMapView::MouseUp, this, [this](int b, int s, MapCell cell) {
        tools_->MouseReleased(MapPointer{cell, b, s});
        UpdateTitle();
    });
    connect(wholeView_, &WholeMapView::PointerLeft, this, [this] {
        tools_->MouseLeft();
        SetHovered(MapCell{});
    });
    connect(wholeView_, &WholeMapView::CanvasChanged, minimap_, &Minimap::CanvasChanged);
    connect(minimap_, &Minimap::ColumnChosen, this,
            [this](int col) { ScrollTo(col - 1 - kViewCells / 2); });
    connect(palette_, &PalettePanel::EntryChosen, this, [this](int entry) { SelectEntry(entry); });
    // Keys 1..9: the entries used last, the one in use first.
    for (int n = 1; n <= PalettePanel::kRecentCount; ++n) {
        auto* recent = new QAction(this);
        recent->setShortcut(QKeySequence(Qt::Key_0 + n));
        connect(recent, &QAction::triggered, this, [this, n] {
            if (palette_->Recent(n) != 0) SelectEntry(palette_->Recent(n));
        });
        addAction(recent);
    }

    Mzobrazit->addSeparator();
    Mcela = Mzobrazit->addAction(QString::fromUtf8("Celá mapa"));
    Mcela->setObjectName(QStringLiteral("Mcela"));
    Mcela->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    Mminimapa = Mzobrazit->addAction(QStringLiteral("Minimapa"));
    Mminimapa->setObjectName(QStringLiteral("Mminimapa"));
    Mminimapa->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    Mpaleta = Mzobrazit->addAction(QStringLiteral("Paleta"));
    Mpaleta->setObjectName(QStringLiteral("Mpaleta"));
    Mpaleta->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    for (QAction* view : {Mcela, Mminimapa, Mpaleta}) {
        view->setCheckable(true);
        connect(view, &QAction::toggled, this, [this] { ArrangeViews(); });
    }
    client->installEventFilter(this);
}

void Form1::ArrangeViews() {
    const bool whole = Mcela->isChecked();
    const bool minimap = Mminimapa->isChecked() && !whole;
    const bool palette = Mpaleta->isChecked();
    for (QWidget* normal : {static_cast<QWidget*>(Level), static_cast<QWidget*>(Vpravo),
                            static_cast<QWidget*>(Vlevo)}) {
        normal->setVisible(!whole);
    }
    minimap_->setVisible(minimap);
    minimap_->move(kMinimapAt);
    QPoint panelAt = kPanelBesideTools;

    QPoint offset;
    bool compact = false;
    if (whole) {
        // The controls go beside the map or under it, whichever leaves the larger cells.
        const QSize room = centralWidget()->size();
        const int beside = std::min((room.width() - kGroup.width() - 2 * kGap) / kLastCol,
                                    (room.height() - 1) / kLastRow);
        const int below = std::min((room.width() - 1) / kLastCol,
                                   (room.height() - kCompactGroup.height() - 2 * kGap) / kLastRow);
        const int cell = std::max({beside, below, kSmallestCell});
        const QSize map(kLastCol * cell + 1, kLastRow * cell + 1);
        wholeView_->setGeometry(QRect(QPoint(0, 0), map));
        compact = below > beside;
        offset = compact ? QPoint(-kGroupLeft, map.height() + kGap)
                         : QPoint(map.width() + kGap - kGroupLeft, 0);
        // The panel beside the compact controls, or under the map.
        panelAt = compact ? QPoint(kCompactGroup.width() + kGap, map.height() + kGap)
                          : QPoint(0, map.height() + kGap);
    }
    wholeView_->setVisible(whole);
    const QPoint previewShift = compact ? kPreviewBeside - kPreviewDesigned : QPoint();
    for (const auto& [control, place] : designed_) {
        const bool preview = control == SELEC || control == Label1;
        control->move(place + offset + (preview ? previewShift : QPoint()));
    }
    palette_->move(panelAt);
    palette_->setVisible(palette);
    // The window keeps room for everything shown.
    QRect used(0, 0, 770, 570);
    for (const QWidget* shown : {static_cast<QWidget*>(minimap_), static_cast<QWidget*>(palette_)})
        if (shown->isVisibleTo(this)) used = used.united(shown->geometry());
    centralWidget()->setMinimumSize(used.size());
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize && Mcela != nullptr &&
        Mcela->isChecked()) {
        ArrangeViews();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::ScrollTo(int first) {
    viewScroll = static_cast<int16_t>(std::clamp(first, 0, kLastCol - kViewCells));
    ShowView();
    if (pointer_.x() >= 0) Hover(pointer_.x(), pointer_.y());
}

void Form1::RepaintViews() {
    Level->update();
    wholeView_->update();
}

QImage Form1::CellsPicture(MapCell a, MapCell b) const {
    return wholeView_->Canvas().Image().copy(CellsArea(ViewColumns{1, kLastCol}, a, b));
}

void Form1::ShowView() {
    DrawMap();
    if (minimap_ != nullptr) minimap_->update();
}

}  // namespace zorvik::editor
