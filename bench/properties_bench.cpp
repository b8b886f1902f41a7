// Properties dialog benchmark: how long 查看照片属性 takes to show the
// dialog for one photo of a catalogue of N photos with K distinct keywords
// (load the session record, build the grid, show and paint it), and how long the
// keyword picker takes to open the first time (the distinct-keywords
// query). The floor is a bare window with a 25-row table, shown and
// painted the same way in the same process.
//
// usage: properties_bench [--photos N] [--keywords K] [--runs R]

#include <unistd.h>
#include <QApplication>
#include <QTableWidget>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "catalogue/keyword_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "platform/data_folder.h"
#include "properties/dialog_exif.h"
#include "properties/properties_session.h"
#include "widgets/check_combo_box.h"

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Generate(Library& library, int photos, int keywords) {
    const std::vector<std::uint8_t> thumb = {0xFF, 0xD8, 0x01, 0xFF, 0xD9};
    BeginTransaction(library);
    for (int id = 1; id <= photos; ++id) {
        PhotoRecord r;
        SetField(r.strName, "photo" + std::to_string(id) + ".jpg");
        SetField(r.strPath, "/photos");
        SetField(r.strFullPath, "/photos/photo" + std::to_string(id) + ".jpg");
        SetField(r.strXpKeyword, "关键词" + std::to_string(id % keywords) + ";家人;");
        SetField(r.strMake, "NIKON CORPORATION");
        r.fExposureTime = 0.008f;
        r.dwDateTime = 1393808707 + id;
        InsertPhotoRow(library, PhotoRef{id, false}, r, thumb, {});
        WriteKeywordRows(library, id, r);
    }
    CommitTransaction(library);
}

// Shows window and returns once it has painted.
void ShowAndPaint(QWidget& window) {
    window.show();
    window.repaint();
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char* argv[]) {
    // The catalogue every step of this run works on.
    Library library;
    int photos = 10000, keywords = 200, runs = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--photos")) photos = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--keywords")) keywords = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--runs")) runs = std::atoi(argv[i + 1]);
    }
    QApplication application(argc, argv);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("dz-properties-bench-" + std::to_string(getpid()));
    SetDataFolder(folder.string());
    Generate(library, photos, keywords < 1 ? 1 : keywords);

    double floor = 0, open = 0, picker = 0;
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        {
            QTableWidget table(25, 2);
            for (int row = 0; row < 25; ++row)
                table.setItem(row, 1, new QTableWidgetItem(QString::number(row)));
            ShowAndPaint(table);
        }
        floor += Now() - start;

        start = Now();
        PropertiesSession session;
        session.library = &library;
        session.shownPhoto = {1 + run % photos, false};
        LoadSessionRecord(session);
        CDialog_Exif dialog(session);
        ShowAndPaint(dialog);
        open += Now() - start;

        start = Now();
        dialog.HoverCell(PropertyRow::Keywords, 1);
        QApplication::processEvents();
        picker += Now() - start;
    }
    std::printf("catalogue: %d photos, %d distinct keywords; %d runs\n", photos, keywords, runs);
    std::printf("floor (bare 25-row table shown):    %7.2f ms\n", 1000 * floor / runs);
    std::printf("properties dialog shown:            %7.2f ms\n", 1000 * open / runs);
    std::printf("keyword picker first opened:        %7.2f ms\n", 1000 * picker / runs);
    CloseCatalogue(library);
    std::filesystem::remove_all(folder);
    return 0;
}
