// GLib's headers come first: Qt's keyword macros would break them.
#include <gio/gio.h>
#include <libgcab.h>

#include "cabinetfile.h"

#include <QFile>

#include <memory>

namespace {

struct ObjectRelease
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using Object = std::unique_ptr<T, ObjectRelease>;

// The message of a GLib error, which is released.
QString takeMessage(GError *error)
{
    const QString message = error ? QString::fromUtf8(error->message) : QStringLiteral("unknown error");
    if (error)
        g_error_free(error);
    return message;
}

} // namespace

bool CabinetFile::read(const QString &path, Entries &entries, QString &error)
{
    entries.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    Object<GInputStream> stream(g_memory_input_stream_new_from_data(bytes.constData(), bytes.size(), nullptr));
    Object<GCabCabinet> cabinet(gcab_cabinet_new());
    GError *failure = nullptr;
    // Without a folder the files are unpacked into memory.
    if (!gcab_cabinet_load(cabinet.get(), stream.get(), nullptr, &failure)
        || !gcab_cabinet_extract(cabinet.get(), nullptr, nullptr, nullptr, nullptr, nullptr, &failure)) {
        error = takeMessage(failure);
        return false;
    }
    GPtrArray *folders = gcab_cabinet_get_folders(cabinet.get());
    for (guint i = 0; i < folders->len; ++i) {
        GSList *files = gcab_folder_get_files(GCAB_FOLDER(g_ptr_array_index(folders, i)));
        for (GSList *item = files; item; item = item->next) {
            GCabFile *entry = GCAB_FILE(item->data);
            GBytes *content = gcab_file_get_bytes(entry);
            gsize size = 0;
            const auto *data = static_cast<const char *>(content ? g_bytes_get_data(content, &size) : nullptr);
            entries.append({QString::fromUtf8(gcab_file_get_name(entry)), QByteArray(data, qsizetype(size))});
        }
        g_slist_free(files);
    }
    return true;
}

bool CabinetFile::write(const QString &path, const Entries &entries, QString &error)
{
    Object<GCabCabinet> cabinet(gcab_cabinet_new());
    Object<GCabFolder> folder(gcab_folder_new(GCAB_COMPRESSION_MSZIP));
    GError *failure = nullptr;
    for (const auto &entry : entries) {
        GBytes *content = g_bytes_new(entry.second.constData(), gsize(entry.second.size()));
        Object<GCabFile> file(gcab_file_new_with_bytes(entry.first.toUtf8().constData(), content));
        g_bytes_unref(content);
        if (!gcab_folder_add_file(folder.get(), file.get(), FALSE, nullptr, &failure)) {
            error = takeMessage(failure);
            return false;
        }
    }
    Object<GOutputStream> stream(g_memory_output_stream_new_resizable());
    if (!gcab_cabinet_add_folder(cabinet.get(), folder.get(), &failure)
        || !gcab_cabinet_write_simple(cabinet.get(), stream.get(), nullptr, nullptr, nullptr, &failure)
        || !g_output_stream_close(stream.get(), nullptr, &failure)) {
        error = takeMessage(failure);
        return false;
    }
    auto *memory = G_MEMORY_OUTPUT_STREAM(stream.get());
    const QByteArray bytes(static_cast<const char *>(g_memory_output_stream_get_data(memory)),
                           qsizetype(g_memory_output_stream_get_data_size(memory)));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        error = file.errorString();
        return false;
    }
    return true;
}

const QByteArray *CabinetFile::find(const Entries &entries, const QString &name)
{
    for (const auto &entry : entries) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return &entry.second;
    }
    return nullptr;
}
