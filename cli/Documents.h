// Documents in either format, JSON or SVG: which one a file is, reading it
// into the host's document and writing the result. The one place where the
// tool tells the formats apart.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/DocumentJson.h"
#include "headless/Document.h"

namespace cli {

enum class DocumentFormat { kJson, kSvg };

// The format of a file: by its extension (.svg, .json), else by format
// ("svg" or "json"), else fallback.
DocumentFormat FormatOf(const std::string& path, const std::optional<std::string>& format,
                        DocumentFormat fallback);

// The format of content that neither its name nor --format tells: markup
// starts with '<'.
DocumentFormat SniffFormat(std::string_view content);

// True in builds that read and write SVG documents.
bool SvgDocumentsAvailable();

struct SvgDocumentFile;

// A document as read, with what its format needs to write it back.
class LoadedDocument {
public:
    LoadedDocument(LoadedDocument&&) noexcept;
    ~LoadedDocument();

    // Reads text (named fileName in messages) in format. ids select SVG
    // elements; a JSON document carries its own selection, so ids must be
    // empty for it. Throws InputError for bad input.
    static LoadedDocument Read(std::string_view text, const std::string& fileName,
                               DocumentFormat format, const std::vector<std::string>& ids);

    headless::Document& document();
    DocumentFormat format() const { return format_; }
    // Lines about what the reader left alone, each naming the file and place.
    const std::vector<std::string>& warnings() const;

    // An SVG document's markup, needed only to write it back as SVG, freed
    // while the filter runs; RestoreMarkup takes the text read again (the
    // same bytes, else InputError). Nothing to do for JSON documents.
    void SetMarkupAside();
    bool markupSetAside() const;
    void RestoreMarkup(std::string text);

    // The document with the run's changes in format: SVG back into the SVG
    // that was read, JSON with everything the JSON reader kept; a JSON
    // document as SVG is a picture of its paths.
    std::string Write(DocumentFormat format) const;
    // The same, written to stream as it is made where the format allows (a
    // document read in its own format goes out in pieces, not as one text).
    void Write(DocumentFormat format, std::ostream& stream) const;

private:
    LoadedDocument() = default;
    DocumentFormat format_ = DocumentFormat::kJson;
    std::string fileName_;
    DocumentFile json_;
    std::unique_ptr<SvgDocumentFile> svg_;
};

}  // namespace cli
