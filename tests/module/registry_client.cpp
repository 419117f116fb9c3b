// Creates an object of each ProgID given on the command line, from the registry file
// alone (this program links only the platform). Prints "<ProgID> <CLSID> tool|object"
// per ProgID; at the first failure prints the result code and the error description and
// exits with 1.

#include <cstdio>

#include "lumxip/HalvexCore.h"

namespace {

int failed(const char* progId, HRESULT hr) {
  lum::Bstr description;
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) == S_OK) info->GetDescription(description.put());
  std::printf("%s failed 0x%08X %s\n", progId, static_cast<unsigned>(hr),
              lum::toUtf8(description.view()).c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring progId = lum::fromUtf8(argv[i]);
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
    ComPtr<IUnknown> object;
    if (SUCCEEDED(hr))
      hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<IUnknown>,
                            object.putVoid());
    if (FAILED(hr)) return failed(argv[i], hr);
    std::printf("%s %s %s\n", argv[i], lum::toString(clsid).c_str(),
                object.as<ILumTool>() ? "tool" : "object");
  }
  return 0;
}
