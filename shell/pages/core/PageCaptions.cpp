#include "PageCaptions.h"

#include "PageControls.h"
#include "PageLayouts.h"

namespace dunmere {

namespace {

const PageControl* controlNamed(const QString& name)
{
    for (const PageControl& c : PageControls())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

// A label the design gives a caption of its own; value labels start empty.
bool isCaption(const QString& name)
{
    const PageControl* c = controlNamed(name);
    return c && c->kind == ControlKind::Label && *c->caption != '\0';
}

// The alternative of a cell the page shows now ("QuiLabel1|LblACal"); empty for none.
QString shownIn(const ControlModel& model, const char* cell)
{
    for (const QString& name : QString::fromLatin1(cell).split(QLatin1Char('|'), Qt::SkipEmptyParts))
        if (model.has(name) && model.visible(name))
            return name;
    return {};
}

bool cellHolds(const char* cell, const QString& name)
{
    return QString::fromLatin1(cell).split(QLatin1Char('|')).contains(name);
}

struct Place {
    const GridLayoutRows* grid = nullptr;
    int row = -1;
    int column = -1;
};

Place placeOf(const QString& name)
{
    for (const GridLayoutRows& grid : PageLayouts())
        for (int r = 0; r < int(grid.rows.size()); ++r)
            for (int c = 0; c < int(grid.rows[r].size()); ++c)
                if (cellHolds(grid.rows[r][c], name))
                    return {&grid, r, c};
    return {};
}

// The caption at the start of a row; a row that has none continues the one above it
// (the smoothing time's own box sits under its list).
QString rowCaption(const ControlModel& model, const Place& at)
{
    for (int r = at.row; r >= 0; --r) {
        const auto& cells = at.grid->rows[r];
        for (int c = 0; c < at.column && c < int(cells.size()); ++c) {
            const QString name = shownIn(model, cells[c]);
            if (isCaption(name))
                return model.text(name);
        }
        if (cells.empty() || *cells[0] != '\0')
            return {};
    }
    return {};
}

// The caption over a column: a heading row (one whose first cell is empty) above the value.
// A value that spans the columns to its right stands under none of them.
QString columnCaption(const ControlModel& model, const Place& at)
{
    const auto& own = at.grid->rows[at.row];
    if (at.column + 1 < int(own.size()) && QLatin1String(own[at.column + 1]) == QLatin1String("<"))
        return {};
    for (int r = at.row - 1; r >= 0; --r) {
        const auto& cells = at.grid->rows[r];
        if (cells.empty() || *cells[0] != '\0' || at.column >= int(cells.size()))
            continue;
        const QString name = shownIn(model, cells[at.column]);
        if (isCaption(name))
            return model.text(name);
    }
    return {};
}

}  // namespace

QString CaptionOf(const ControlModel& model, const QString& name)
{
    const Place at = placeOf(name);
    if (!at.grid)
        return {};
    const QString row = rowCaption(model, at).trimmed();
    const QString column = columnCaption(model, at).trimmed();
    if (row.isEmpty() || column.isEmpty())
        return row + column;
    return row + QLatin1Char(' ') + column;
}

QString GroupCaptionOf(const ControlModel& model, const QString& name)
{
    const PageControl* c = controlNamed(name);
    if (!c || *c->parent == '\0')
        return {};
    return model.text(QString::fromLatin1(c->parent));
}

}  // namespace dunmere
