#include "platform/JpegImage.h"

#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

namespace platform {
namespace {

using Microsoft::WRL::ComPtr;

constexpr UINT kMaxPixels = 16u * 1024 * 1024;

// COM on the calling thread for as long as the decoder needs it. A thread that already runs COM in another
// mode (the window's thread, single-threaded) keeps it: the decoder works in either.
class ComUse {
 public:
  ComUse() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~ComUse() {
    if (initialised_) CoUninitialize();
  }
  ComUse(const ComUse&) = delete;
  ComUse& operator=(const ComUse&) = delete;

 private:
  bool initialised_;
};

std::optional<RgbImage> Decode(std::string_view bytes) {
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(
          CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
    return std::nullopt;
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(&stream))) return std::nullopt;
  // The stream only reads the bytes, which outlive it.
  auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
  if (FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size())))) return std::nullopt;
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoder(GUID_ContainerFormatJpeg, nullptr, &decoder)) ||
      FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand))) {
    return std::nullopt;
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) || width == 0 ||
      height == 0 || static_cast<uint64_t>(width) * height > kMaxPixels) {
    return std::nullopt;
  }
  ComPtr<IWICBitmapSource> rgb;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppRGB, frame.Get(), &rgb))) return std::nullopt;
  RgbImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.rgb.resize(static_cast<size_t>(width) * height * 3);
  if (FAILED(rgb->CopyPixels(nullptr, width * 3, static_cast<UINT>(image.rgb.size()), image.rgb.data())))
    return std::nullopt;
  return image;
}

}  // namespace

std::optional<RgbImage> DecodeJpeg(std::string_view bytes) {
  if (bytes.size() < 4 || bytes.size() > 0xFFFFFFFFu) return std::nullopt;
  const ComUse com;
  return Decode(bytes);
}

}  // namespace platform
