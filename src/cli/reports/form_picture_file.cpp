#include "cli/reports/form_picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <string>
#include <system_error>

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

}  // namespace

void WriteFormPictureFile(const host::access::DesignObject& form, host::access::Application& access,
                          host::dao::Database& data, const std::filesystem::path& file,
                          bool designView, bool wholeWindow) {
    EnsureGuiApplication();
    const bool bitmap = util::EqualsIgnoreCase(file.extension().string(), ".bmp");
    const render::RenderOptions options{
        designView ? render::FormView::Design : render::FormView::Form, wholeWindow};
    const auto picture = render::RenderForm(form, options, {&access, &data});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.image.save(&buffer, bitmap ? "BMP" : "PNG")) {
        throw host::Error(host::err::kInvalidProcedureCall,
                          "フォーム '" + form.name + "' の画像を作れませんでした。");
    }
    RequireReplaceable(file, bitmap ? kBmpMagic : kPngMagic, "同じ形式の画像");
    try {
        util::WriteFileAtomically(file, std::string_view(bytes.constData(), bytes.size()));
    } catch (const std::system_error& e) {
        throw host::FileSystemError(file, e.code());
    }
}

}  // namespace zanfor::cli::reports
