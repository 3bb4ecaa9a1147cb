// `sondara-cli grid FILE ...`: the three tables of the information bar (工程信息,
// 测点信息, 分析参数) as the grids show them for a display, and one cell edit through
// the same path as typing into a grid, so that the edit can be undone in the program.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/DisplayArgs.h"
#include "cli/JsonWriter.h"
#include "core/display/WaveDisplayModel.h"
#include "core/panels/InfoGridEdit.h"
#include "core/panels/InfoGridTables.h"

namespace sondara::cli {
namespace {

const char* kUsage =
    "usage: sondara-cli grid FILE [display options] [--json]\n"
    "       sondara-cli grid FILE -o OUT [display options] --edit ROW COLUMN TEXT\n"
    "                    [--scope single|multiple] [--table project|points]\n"
    "display options: [--domain integrity|time|frequency|wavelet]\n"
    "         [--set single|multi|pile|checked|all|train] [--sub K] [--first N] [--second M]\n"
    "         [--point N] [--active K] [--traces N]\n";

int usage(const std::string& why) {
    return usageError("grid", why, kUsage);
}

constexpr GridTable kTables[] = {GridTable::Project, GridTable::Points, GridTable::Parameters};

const char* tableKey(GridTable t) {
    switch (t) {
        case GridTable::Project:
            return "project";
        case GridTable::Points:
            return "points";
        case GridTable::Parameters:
            return "parameters";
    }
    return "";
}

// Cells are printed tab-separated, so tabs and line breaks inside a text become blanks.
std::string flat(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

void printText(const CSondaraDoc& doc, const std::vector<int>& rows) {
    for (GridTable t : kTables) {
        std::printf("[%s]\n", std::string(GridTitle(t)).c_str());
        const auto& cols = GridColumns(t);
        for (std::size_t c = 0; c < cols.size(); ++c)
            std::printf("%s%s", c ? "\t" : "", std::string(cols[c].title).c_str());
        std::printf("\n");
        const int n = GridRowCount(t, doc, rows);
        for (int r = 0; r < n; ++r) {
            for (std::size_t c = 0; c < cols.size(); ++c)
                std::printf("%s%s", c ? "\t" : "",
                            flat(GridCellText(t, doc, rows, r, static_cast<int>(c))).c_str());
            std::printf("\n");
        }
    }
}

void printJson(const CSondaraDoc& doc, const std::vector<int>& rows) {
    JsonWriter j;
    j.beginObject();
    j.key("rowPoints").beginArray();
    for (int p : rows) j.value(p + 1);
    j.endArray();
    for (GridTable t : kTables) {
        j.key(tableKey(t)).beginObject();
        j.field("title", GridTitle(t));
        const auto& cols = GridColumns(t);
        j.key("columns").beginArray();
        for (const GridColumn& c : cols)
            j.beginObject()
                .field("title", c.title)
                .field("width", c.width)
                .field("editable", c.editor != CellEditor::None)
                .endObject();
        j.endArray();
        j.key("rows").beginArray();
        const int n = GridRowCount(t, doc, rows);
        for (int r = 0; r < n; ++r) {
            j.beginArray();
            for (std::size_t c = 0; c < cols.size(); ++c)
                j.value(GridCellText(t, doc, rows, r, static_cast<int>(c)));
            j.endArray();
        }
        j.endArray();
        j.endObject();
    }
    j.endObject();
    std::printf("%s\n", j.str().c_str());
}

struct EditArgs {
    bool edit = false;
    std::string row, column, text;
    PointEditScope scope = PointEditScope::Single;
    int table = -1;  // -1: by the column title (points when a number)
};

// The display options with those of an edit. A display's `--scope current|all` does
// not apply to grids: `--scope` is the edit's single|multiple.
std::string parseGridArgs(const Args& args, DisplayArgs& d, EditArgs& e) {
    CLI::App app{"grid"};
    addDisplayOptions(app, d, DisplayCommandLine::Display);
    app.remove_option(app.get_option("--scope"));
    std::vector<std::string> edit;
    app.add_option("--edit", edit)->expected(3)->allow_extra_args(false);
    app.add_option("--scope", e.scope)
        ->transform(CLI::CheckedTransformer(std::map<std::string, PointEditScope>{
            {"single", PointEditScope::Single}, {"multiple", PointEditScope::Multiple}}));
    app.add_option("--table", e.table)
        ->transform(
            CLI::CheckedTransformer(std::map<std::string, int>{{"project", 0}, {"points", 1}}));
    if (std::string why = parseCommandLine(app, args); !why.empty()) return why;
    if (!edit.empty()) {
        e.edit = true;
        e.row = edit[0];
        e.column = edit[1];
        e.text = edit[2];
    }
    return finishDisplayArgs(d);
}

int runEdit(CSondaraDoc& doc, const std::vector<int>& rows, const EditArgs& e) {
    GridTable table = GridTable::Points;
    int column = -1;
    if (e.table == 0) {
        table = GridTable::Project;
        column = FindGridColumn(table, e.column);
    } else if (e.table == 1) {
        column = FindGridColumn(table, e.column);
    } else {
        column = FindGridColumn(GridTable::Points, e.column);
        const int projectColumn = FindGridColumn(GridTable::Project, e.column);
        if (projectColumn >= 0 &&
            e.column == std::string(GridColumns(GridTable::Project)[projectColumn].title)) {
            table = GridTable::Project;
            column = projectColumn;
        }
    }
    if (column < 0) return usage("unknown column '" + e.column + "'");
    char* end = nullptr;
    const long row = std::strtol(e.row.c_str(), &end, 10);
    if (e.row.empty() || *end != '\0' || row < 1 || row > GridRowCount(table, doc, rows))
        return usage("ROW " + e.row + " is not a row of the table (" +
                     std::to_string(GridRowCount(table, doc, rows)) + " rows)");

    GridEditResult r =
        table == GridTable::Project
            ? EditProjectCell(doc, column, e.text)
            : EditPointCell(doc, rows, static_cast<int>(row - 1), column, e.text, e.scope);
    switch (r) {
        case GridEditResult::Applied:
            std::printf("changed\n");
            break;
        case GridEditResult::Unchanged:
            std::printf("no change\n");
            break;
        case GridEditResult::NotEditable:
            return usage("column '" + std::string(GridColumns(table)[column].title) +
                         "' cannot be edited");
        case GridEditResult::Invalid:
            return usage("'" + e.text + "' is not a value of column '" +
                         std::string(GridColumns(table)[column].title) + "'");
    }
    return kExitOk;
}

int runGrid(const Args& args) {
    EditArgs e;
    DisplayArgs d;
    if (std::string why = parseGridArgs(args, d, e); !why.empty()) return usage(why);
    if (!d.commands.empty() || d.haveCursor)
        return usage("--command and --cursor do not apply to grid");
    if (e.edit && d.out.empty()) return usage("--edit needs -o OUT");
    if (!e.edit && !d.out.empty()) return usage("-o needs --edit");
    if (e.edit && d.json) return usage("--json does not apply to --edit");
    CSondaraDoc doc;
    if (int rc = loadProject(doc, d.file); rc != kExitOk) return rc;
    WaveDisplayModel model;
    if (std::string why = setUpDisplay(doc, model, d); !why.empty()) return usage(why);
    const std::vector<int> rows = GridRowPoints(doc, &model);

    if (e.edit) {
        if (int rc = runEdit(doc, rows, e); rc != kExitOk) return rc;
        return saveProject(doc, d.out);
    }
    if (d.json)
        printJson(doc, rows);
    else
        printText(doc, rows);
    return kExitOk;
}

const CliRegistrar kRegistrar{CliCommand{
    "grid", "print or edit the project, point and analysis-parameter tables",
    std::string(
        "sondara-cli grid FILE [display options] [--json]\n"
        "Prints the tables 工程信息, 测点信息 and 分析参数 as the information bar shows them\n"
        "for the display described by the options (the rows are the points that display\n"
        "shows; only the current point in a wavelet analysis).\n"
        "With --edit, one cell is edited as if typed into the grid and the project is\n"
        "written to OUT: ROW is the 1-based 序号, COLUMN a title (桩径(mm), 检测单位, ...)\n"
        "or a 1-based column number of the point table (of the project table with\n"
        "--table project); --scope multiple changes every listed point (多个测点).\n") +
        kUsage +
        "Exit codes: 0 done, 1 bad arguments or a refused edit, 2 a file cannot be read or\n"
        "written (a read-only OUT is refused), 3 FILE read only partly and --edit given (see\n"
        "--allow-partial). See docs/cli-grid.md.\n",
    runGrid}};

}  // namespace
}  // namespace sondara::cli
