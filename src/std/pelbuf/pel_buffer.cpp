#include "std/pelbuf/pel_buffer.h"

#include "std/archive/archive.h"

namespace {
constexpr uint32_t kVersion = 1;
}  // namespace

template <class T>
void lcPelBuffer<T>::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "pelbuf", __LINE__);
  if (archive.isStoring()) {
    archiveFrame(archive);
    return;
  }
  lcPelBuffer loaded;
  loaded.archiveFrame(archive);
  if (loaded.isBound() && !dynamic_cast<Root*>(loaded.rootBase().get()))
    throw lcArchive::BadType(L"an archived pixel root holds pixels of another type");
  *this = std::move(loaded);
}

#define LC_DEFINE_PEL_BUFFER(T) template class lcPelBuffer<T>;
LC_FOR_EACH_PEL_TYPE(LC_DEFINE_PEL_BUFFER)
#undef LC_DEFINE_PEL_BUFFER
