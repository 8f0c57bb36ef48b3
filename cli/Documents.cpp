#include "cli/Documents.h"

#include <cctype>

#include "cli/InputError.h"
#include "cli/SvgWriter.h"

#if defined(PELVARO_SVG_DOCUMENTS)
#include "cli/svg/SvgDocument.h"
#else
namespace cli {
struct SvgDocumentFile {};
}  // namespace cli
#endif

namespace cli {

namespace {

bool EndsWith(const std::string& path, std::string_view tail) {
    if (path.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char c = path[path.size() - tail.size() + i];
        if (std::tolower(static_cast<unsigned char>(c)) != tail[i]) return false;
    }
    return true;
}

const std::vector<std::string> kNoWarnings;

}  // namespace

DocumentFormat FormatOf(const std::string& path, const std::optional<std::string>& format,
                        DocumentFormat fallback) {
    if (EndsWith(path, ".svg")) return DocumentFormat::kSvg;
    if (EndsWith(path, ".json")) return DocumentFormat::kJson;
    if (format) return *format == "svg" ? DocumentFormat::kSvg : DocumentFormat::kJson;
    return fallback;
}

DocumentFormat SniffFormat(std::string_view content) {
    for (const char c : content) {
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        return c == '<' ? DocumentFormat::kSvg : DocumentFormat::kJson;
    }
    return DocumentFormat::kJson;
}

bool SvgDocumentsAvailable() {
#if defined(PELVARO_SVG_DOCUMENTS)
    return true;
#else
    return false;
#endif
}

LoadedDocument::LoadedDocument(LoadedDocument&&) noexcept = default;
LoadedDocument::~LoadedDocument() = default;

LoadedDocument LoadedDocument::Read(std::string_view text, const std::string& fileName,
                                    DocumentFormat format, const std::vector<std::string>& ids) {
    LoadedDocument loaded;
    loaded.format_ = format;
    loaded.fileName_ = fileName;
    if (format == DocumentFormat::kJson) {
        if (!ids.empty()) {
            throw InputError("--id selects elements of an SVG document; in the JSON document '" +
                             fileName + "' each path says whether it is \"selected\"");
        }
        loaded.json_ = ReadDocumentJson(text, fileName);
        return loaded;
    }
#if defined(PELVARO_SVG_DOCUMENTS)
    SvgReadOptions options;
    options.ids = ids;
    loaded.svg_ = std::make_unique<SvgDocumentFile>(ReadDocumentSvg(text, fileName, options));
    return loaded;
#else
    throw InputError(
        "cannot read '" + fileName +
        "': this build of pelvaro reads JSON documents only; the native build reads SVG");
#endif
}

headless::Document& LoadedDocument::document() {
#if defined(PELVARO_SVG_DOCUMENTS)
    if (svg_) return svg_->document;
#endif
    return json_.document;
}

const std::vector<std::string>& LoadedDocument::warnings() const {
#if defined(PELVARO_SVG_DOCUMENTS)
    if (svg_) return svg_->warnings;
#endif
    return kNoWarnings;
}

void LoadedDocument::SetMarkupAside() {
#if defined(PELVARO_SVG_DOCUMENTS)
    if (svg_) cli::SetMarkupAside(*svg_);
#endif
}

bool LoadedDocument::markupSetAside() const {
#if defined(PELVARO_SVG_DOCUMENTS)
    return svg_ && !svg_->xml;
#else
    return false;
#endif
}

void LoadedDocument::RestoreMarkup(std::string text) {
#if defined(PELVARO_SVG_DOCUMENTS)
    if (svg_) cli::RestoreMarkup(*svg_, std::move(text), fileName_);
#else
    (void)text;
#endif
}

std::string LoadedDocument::Write(DocumentFormat format) const {
#if defined(PELVARO_SVG_DOCUMENTS)
    if (svg_) {
        return format == DocumentFormat::kSvg ? WriteDocumentSvg(*svg_)
                                              : WriteDocumentJson(svg_->document);
    }
#endif
    return format == DocumentFormat::kSvg ? WriteSvg(json_.document) : WriteDocumentJson(json_);
}

void LoadedDocument::Write(DocumentFormat format, std::ostream& stream) const {
    if (!svg_ && format == DocumentFormat::kJson) {
        WriteDocumentJson(json_, stream);
        return;
    }
#if defined(PELVARO_SVG_DOCUMENTS)
    if (svg_ && format == DocumentFormat::kSvg) {
        WriteDocumentSvg(*svg_, stream);
        return;
    }
#endif
    const std::string text = Write(format);
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace cli
