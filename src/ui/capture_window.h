#pragma once

// The viewer frmCapture: the form picture the capture left on the clipboard, with the page
// setup, printing and saving it as a Windows bitmap. It takes the picture when it opens and
// empties the clipboard when it closes.

#include <QImage>
#include <QMainWindow>
#include <QPageLayout>
#include <QSize>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/dialogs.h"

class QLabel;
class QPrinter;

namespace zanfor::app {

inline constexpr std::string_view kViewerPlace = "場所:画像取得";
inline constexpr std::string_view kSavePictureTitle = "画像ファイルの保存";
inline constexpr std::string_view kBitmapFilter = "ビットマップ(*.bmp)";

// The viewer's size for a picture: 120 twips wider and 690 twips taller, room for the menu bar.
QSize CaptureWindowSize(QSize picture);

// The name a bitmap is saved under: a ".bmp" ending in any case becomes ".bmp", any other name
// gets ".bmp" added. The name is otherwise kept whole ("xBMP" is "xBMP.bmp").
std::string BitmapFileName(std::string_view chosen);

// The picture as a Windows bitmap file, written beside `file` and renamed over it so that a
// failed write leaves an earlier file as it was. Host errors (a null picture, file errors).
void WriteBitmapFile(const QImage& picture, const std::filesystem::path& file);

class CaptureWindow : public QMainWindow {
    Q_OBJECT

public:
    // `stopTimer` stops the main window's Timer2; `exitProgram` runs the exit command after an
    // error that ends the program.
    CaptureWindow(Dialogs& dialogs, std::function<void()> stopTimer,
                  std::function<void()> exitProgram, QWidget* parent = nullptr);

    // Loading: the picture taken from the clipboard, the window sized to it and Timer2
    // stopped. A viewer still open when the next capture's timer fires loads again.
    void load();

    const QImage& picture() const { return picture_; }
    const QPageLayout& pageLayout() const { return layout_; }

    void pageSetup();
    void print();
    void save();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyLayout(QPrinter& printer) const;
    void reportError(const std::exception& failure);

    Dialogs& dialogs_;
    std::function<void()> stopTimer_;
    std::function<void()> exitProgram_;
    QLabel* picWk_ = nullptr;
    QLabel* picWk2_ = nullptr;
    QImage picture_;
    QPageLayout layout_;
};

}  // namespace zanfor::app
