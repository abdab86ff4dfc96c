#include "cli/reports/form_picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "cli/reports/gui_application.h"
#include "cli/reports/output_file.h"
#include "host/error.h"
#include "render/form_renderer.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::cli::reports {

namespace {

constexpr std::string_view kPngMagic = "\x89PNG";
constexpr std::string_view kBmpMagic = "BM";

struct Picture {
    QImage image;
    std::filesystem::path file;
    bool bitmap = false;
    std::string name;
};

// Drawn on the caller's thread, which owns the open form; the file checked there too, so that a
// file that may not be replaced fails the call that names it.
Picture Draw(const host::access::DesignObject& form, host::access::Application& access,
             host::dao::Database& data, const std::filesystem::path& file, bool designView,
             bool wholeWindow) {
    EnsureGuiApplication();
    const bool bitmap = util::EqualsIgnoreCase(file.extension().string(), ".bmp");
    const render::RenderOptions options{
        designView ? render::FormView::Design : render::FormView::Form, wholeWindow};
    auto picture = render::RenderForm(form, options, {&access, &data});
    RequireReplaceable(file, bitmap ? kBmpMagic : kPngMagic, "同じ形式の画像");
    return {std::move(picture.image), file, bitmap, form.name};
}

void Save(const Picture& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.image.save(&buffer, picture.bitmap ? "BMP" : "PNG")) {
        throw host::Error(host::err::kInvalidProcedureCall,
                          "フォーム '" + picture.name + "' の画像を作れませんでした。");
    }
    try {
        util::WriteFileAtomically(picture.file, std::string_view(bytes.constData(), bytes.size()));
    } catch (const std::system_error& e) {
        throw host::FileSystemError(picture.file, e.code());
    }
}

// Compressing a PNG takes about as long as drawing the form, and a documentation site draws
// hundreds: one worker compresses and writes while the caller draws the next. A few pictures
// wait at most, so memory stays flat however many are drawn.
class PictureQueue {
public:
    ~PictureQueue() {
        try {
            finish();
        } catch (...) {
            // Nobody is left to tell; the caller that wanted to know called finish().
        }
    }

    void push(Picture picture) {
        std::unique_lock lock(mutex_);
        if (!worker_.joinable())
            worker_ = std::thread([this] { run(); });
        room_.wait(lock, [this] { return pending_.size() < kMostWaiting; });
        pending_.push_back(std::move(picture));
        work_.notify_one();
    }

    void finish() {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        work_.notify_one();
        if (worker_.joinable())
            worker_.join();
        std::lock_guard lock(mutex_);
        closing_ = false;
        if (auto error = std::exchange(error_, nullptr))
            std::rethrow_exception(error);
    }

private:
    static constexpr std::size_t kMostWaiting = 4;

    void run() {
        for (;;) {
            Picture picture;
            bool failed;
            {
                std::unique_lock lock(mutex_);
                work_.wait(lock, [this] { return !pending_.empty() || closing_; });
                if (pending_.empty())
                    return;
                picture = std::move(pending_.front());
                pending_.pop_front();
                failed = error_ != nullptr;
            }
            room_.notify_one();
            if (failed)
                continue;  // the run has failed already; the rest is not written
            try {
                Save(picture);
            } catch (...) {
                std::lock_guard lock(mutex_);
                error_ = std::current_exception();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable room_;
    std::deque<Picture> pending_;
    std::exception_ptr error_;
    bool closing_ = false;
    std::thread worker_;
};

PictureQueue& Queue() {
    static PictureQueue queue;
    return queue;
}

}  // namespace

void WriteFormPictureFile(const host::access::DesignObject& form, host::access::Application& access,
                          host::dao::Database& data, const std::filesystem::path& file,
                          bool designView, bool wholeWindow) {
    Save(Draw(form, access, data, file, designView, wholeWindow));
}

void QueueFormPictureFile(const host::access::DesignObject& form, host::access::Application& access,
                          host::dao::Database& data, const std::filesystem::path& file,
                          bool designView, bool wholeWindow) {
    Queue().push(Draw(form, access, data, file, designView, wholeWindow));
}

void FinishFormPictureFiles() { Queue().finish(); }

}  // namespace zanfor::cli::reports
