// Print jobs as PDF files through cairo, and the character-printer ports as
// plain files or devices. A job's page is a DrawContext whose user space is
// scaled from PDF points to 300 dpi device units, so the printing code draws
// exactly as it would on a printer of that resolution.
#include "platform/print.h"

#include <cairo-pdf.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/draw_internal.h"
#include "platform/font.h"

struct PlPrintJob {
    cairo_surface_t *surface;
    DrawContext *page;  // the open page, or null
    std::string path;
    PlSize size;        // device units
    int pages;
    int fd;             // the PDF file, written by WritePdfBytes
    bool writeFailed;   // a write was refused (a full disk): the document is lost
};

namespace {

PlSize PaperSize(PlPaper paper, bool landscape)
{
    // Whole device units at 300 dpi: A4 210 x 297 mm, Letter 8.5 x 11 in.
    PlSize s = paper == PlPaper::Letter ? PlSize{2550, 3300} : PlSize{2480, 3508};
    return landscape ? PlSize{s.cy, s.cx} : s;
}

// A file-name stem from the job title: letters and digits kept, the rest '_'.
std::string Stem(std::string_view title)
{
    std::string stem;
    for (char ch : title) {
        if (stem.size() >= 40) break;
        auto c = static_cast<unsigned char>(ch);
        stem += (std::isalnum(c) && c < 0x80) || c == '-' ? char(c) : '_';
    }
    return stem.empty() ? std::string("print") : stem;
}

// Creates path only when it does not exist yet (reserving the name).
bool Reserve(const std::string &path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The surface's output: every byte goes to the job's file, and a refused
// write (a full disk, a device that takes nothing) is remembered so that
// the end of the document reports it. The library's own file output drops
// such errors when it closes the file.
cairo_status_t WritePdfBytes(void *closure, const unsigned char *data, unsigned int length)
{
    PlPrintJob *job = static_cast<PlPrintJob *>(closure);
    while (length > 0 && !job->writeFailed) {
        ssize_t n = ::write(job->fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            job->writeFailed = true;
            break;
        }
        data += n;
        length -= (unsigned)n;
    }
    return job->writeFailed ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}

}  // namespace

PlPrintJob *PrintStartDoc(const PlPrintSettings &settings, std::string_view title)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path dir = settings.directory.empty() ? fs::path(".") : fs::path(settings.directory);
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) return nullptr;
    std::string path;
    bool reserved = false;  // the file is ours to remove if the start fails
    if (!settings.fileName.empty()) {
        path = (dir / settings.fileName).string();
    } else {
        std::string stem = Stem(title);
        for (int n = 1; n < 100000 && path.empty(); n++) {
            std::string candidate = (dir / (stem + "-" + std::to_string(n) + ".pdf")).string();
            if (Reserve(candidate)) {
                path = candidate;
                reserved = true;
            } else if (errno != EEXIST) {
                return nullptr;
            }
        }
        if (path.empty()) return nullptr;
    }
    PlSize size = PaperSize(settings.paper, settings.landscape);
    double scale = 72.0 / kPlPrintDpi;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (reserved) ::unlink(path.c_str());
        return nullptr;
    }
    PlPrintJob *job = new PlPrintJob{nullptr, nullptr, path, size, 0, fd, false};
    cairo_surface_t *s = cairo_pdf_surface_create_for_stream(WritePdfBytes, job, size.cx * scale, size.cy * scale);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        ::close(fd);
        if (reserved) ::unlink(path.c_str());
        delete job;
        return nullptr;
    }
    job->surface = s;
    std::string utf8 = PlCp1252ToUtf8(title);
    if (!utf8.empty()) cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_TITLE, utf8.c_str());
    return job;
}

int PrintDpiX(const PlPrintJob *) { return kPlPrintDpi; }
int PrintDpiY(const PlPrintJob *) { return kPlPrintDpi; }
PlSize PrintPageSize(const PlPrintJob *job) { return job->size; }
int PrintPageCount(const PlPrintJob *job) { return job->pages; }
const std::string &PrintJobPath(const PlPrintJob *job) { return job->path; }
DrawContext *PrintPageDc(PlPrintJob *job) { return job->page; }

bool PrintStartPage(PlPrintJob *job)
{
    if (job->page != nullptr) return false;
    DrawContext *dc = DcCreate(job->surface, 0, 0, nullptr, 0);
    if (dc == nullptr) return false;
    double scale = 72.0 / kPlPrintDpi;
    cairo_scale(DcCairo(dc), scale, scale);
    // Clip to the page so that DcClipBox answers the page in device units.
    cairo_rectangle(DcCairo(dc), 0, 0, job->size.cx, job->size.cy);
    cairo_clip(DcCairo(dc));
    dc->clipBox = PlRect{0, 0, job->size.cx, job->size.cy};
    job->page = dc;
    return true;
}

bool PrintEndPage(PlPrintJob *job)
{
    if (job->page == nullptr) return false;
    DcDestroy(job->page);
    job->page = nullptr;
    cairo_surface_show_page(job->surface);
    job->pages++;
    return true;
}

bool PrintEndDoc(PlPrintJob *job)
{
    if (job->page != nullptr) PrintEndPage(job);
    cairo_surface_finish(job->surface);
    bool ok = cairo_surface_status(job->surface) == CAIRO_STATUS_SUCCESS && !job->writeFailed;
    cairo_surface_destroy(job->surface);
    if (::close(job->fd) != 0) ok = false;
    delete job;
    return ok;
}

void PrintAbortDoc(PlPrintJob *job)
{
    if (job->page != nullptr) {
        DcDestroy(job->page);
        job->page = nullptr;
    }
    cairo_surface_finish(job->surface);
    cairo_surface_destroy(job->surface);
    ::close(job->fd);
    ::unlink(job->path.c_str());
    delete job;
}

// ---------------------------------------------------------------------------
// Character printer ports

struct PlCharPort {
    FILE *file;
};

namespace {

// "1" and "5" are the short names form destinations give the first and
// the fifth port.
constexpr std::array<const char *, 5> kPortNames = {"LPT1", "LPT2", "COM1", "1", "5"};
std::array<std::string, 5> gPortPaths;  // empty = the default file

int PortIndex(std::string_view port)
{
    for (size_t i = 0; i < kPortNames.size(); i++) {
        std::string_view name = kPortNames[i];
        if (port.size() != name.size()) continue;
        bool same = true;
        for (size_t k = 0; k < name.size(); k++)
            same = same && std::toupper(static_cast<unsigned char>(port[k])) == name[k];
        if (same) return int(i);
    }
    return -1;
}

}  // namespace

bool CharPortIsName(std::string_view port) { return PortIndex(port) >= 0; }

bool CharPortConfigure(std::string_view port, std::string_view path)
{
    int i = PortIndex(port);
    if (i < 0) return false;
    gPortPaths[size_t(i)] = std::string(path);
    return true;
}

std::string CharPortPath(std::string_view port)
{
    int i = PortIndex(port);
    if (i < 0) return std::string();
    const std::string &configured = gPortPaths[size_t(i)];
    return configured.empty() ? std::string(kPortNames[size_t(i)]) + ".txt" : configured;
}

PlCharPort *CharPortOpen(std::string_view port)
{
    std::string path = CharPortPath(port);
    if (path.empty()) return nullptr;
    FILE *f = std::fopen(path.c_str(), "ab");
    if (f == nullptr) return nullptr;
    return new PlCharPort{f};
}

bool CharPortWrite(PlCharPort *p, std::string_view bytes)
{
    if (p == nullptr) return false;
    return std::fwrite(bytes.data(), 1, bytes.size(), p->file) == bytes.size();
}

bool CharPortClose(PlCharPort *p)
{
    if (p == nullptr) return false;
    bool ok = std::fflush(p->file) == 0 && !std::ferror(p->file);
    ok = std::fclose(p->file) == 0 && ok;
    delete p;
    return ok;
}
