// See WicImageDecoder.h.
#include "pixel/WicImageDecoder.h"

#include "pixel/BmpCodec.h"
#include "pixel/PngCodec.h"

namespace {

uint32_t Be32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// Whether a PNG file carries alpha: a colour type with an alpha channel, or a transparency chunk.
bool PngHasAlpha(std::span<const uint8_t> bytes) {
  if (bytes.size() < 8 + 25) return false;
  uint8_t colorType = bytes[8 + 8 + 9];
  if (colorType == 4 || colorType == 6) return true;
  for (size_t pos = 8; bytes.size() - pos >= 12;) {
    uint32_t length = Be32(&bytes[pos]);
    if (length > bytes.size() - pos - 12) break;
    if (std::equal(&bytes[pos + 4], &bytes[pos + 8], "tRNS")) return true;
    if (std::equal(&bytes[pos + 4], &bytes[pos + 8], "IDAT")) break;  // transparency comes before the data
    pos += 12 + length;
  }
  return false;
}

}  // namespace

IWICImagingFactory* WicImageDecoder::Factory() const {
  if (!factory_) {
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory_.Receive()));
    if (FAILED(hr)) factory_.Reset();
  }
  return factory_.Get();
}

std::optional<Bitmap> WicImageDecoder::Decode(ImageFileKind kind, std::span<const uint8_t> bytes) const {
  // BMP and PNG files decode the same through the pixel core's codecs, without starting the
  // imaging component (its first use loads it and asks the registry for it: a skin of such
  // pictures then loads without it). Files those codecs refuse go on to the platform.
  if (kind == ImageFileKind::ifBmp) {
    if (std::optional<Bitmap> bitmap = DecodeBmp(bytes)) return bitmap;
  }
  if (kind == ImageFileKind::ifPng) {
    if (std::optional<Bitmap> bitmap = DecodePng(bytes)) return bitmap;
  }
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return std::nullopt;
  IWICImagingFactory* factory = Factory();
  if (!factory) return std::nullopt;

  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapSource> converted;
  if (FAILED(factory->CreateStream(stream.Receive())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Receive())) ||
      FAILED(decoder->GetFrame(0, frame.Receive())))
    return std::nullopt;
  // The size the file claims is checked before the conversion or the pixels are allocated.
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || !DecodedSizeAllowed(width, height) ||
      FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), converted.Receive())) ||
      FAILED(converted->GetSize(&width, &height)) || !DecodedSizeAllowed(width, height))
    return std::nullopt;

  const bool withAlpha = kind == ImageFileKind::ifPng && PngHasAlpha(bytes);
  Bitmap pixels(static_cast<int>(width), static_cast<int>(height), PixelFormat::pf32bit);
  const uint64_t bufferSize = static_cast<uint64_t>(pixels.Stride()) * height;  // at most 2^28 bytes
  if (FAILED(converted->CopyPixels(nullptr, static_cast<UINT>(pixels.Stride()), static_cast<UINT>(bufferSize),
                                   pixels.Row(0))))
    return std::nullopt;
  return withAlpha ? std::move(pixels) : pixels.Converted(PixelFormat::pf24bit);
}
