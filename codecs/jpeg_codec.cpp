// JPEG through libjpeg(-turbo). libjpeg reports errors by a long jump; the
// functions that set the jump point hold nothing that needs destroying, and
// every C++ object they fill lives in the caller's frame.
// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "codecs/codec_set.h"

namespace vlm::codecs {
namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr) {}  // warnings are not shown

void installErrors(jpeg_common_struct* cinfo, ErrorManager& err) {
  cinfo->err = jpeg_std_error(&err.pub);
  err.pub.error_exit = onError;
  err.pub.output_message = onMessage;
  err.message[0] = '\0';
}

struct Reader {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
};

// Reads the header and picks the output colours; false on a libjpeg error.
bool readHeader(Reader& r, const uint8_t* data, size_t size) {
  if (setjmp(r.err.jump)) return false;
  jpeg_mem_src(&r.cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&r.cinfo, TRUE);
  if (r.cinfo.jpeg_color_space == JCS_CMYK || r.cinfo.jpeg_color_space == JCS_YCCK)
    r.cinfo.out_color_space = JCS_CMYK;
  else
    r.cinfo.out_color_space = JCS_EXT_BGR;
  return true;
}

// Decodes every line into `image` (allocated by the caller), top line last.
bool readLines(Reader& r, Image* image, uint8_t* cmykLine) {
  if (setjmp(r.err.jump)) return false;
  jpeg_start_decompress(&r.cinfo);
  const bool cmyk = r.cinfo.out_color_space == JCS_CMYK;
  while (r.cinfo.output_scanline < r.cinfo.output_height) {
    uint8_t* dst = image->row(static_cast<int32_t>(r.cinfo.output_height - 1 - r.cinfo.output_scanline));
    JSAMPROW line = cmyk ? cmykLine : dst;
    jpeg_read_scanlines(&r.cinfo, &line, 1);
    if (cmyk) {
      // Adobe writes CMYK inverted: each channel is already 255 - ink.
      for (int32_t x = 0; x < image->width; ++x) {
        const uint8_t* s = cmykLine + x * 4;
        uint8_t* d = dst + x * 3;
        d[2] = static_cast<uint8_t>(s[0] * s[3] / 255);
        d[1] = static_cast<uint8_t>(s[1] * s[3] / 255);
        d[0] = static_cast<uint8_t>(s[2] * s[3] / 255);
      }
    }
  }
  jpeg_finish_decompress(&r.cinfo);
  return true;
}

struct Writer {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

bool writeLines(Writer& w, const ImageView* image, int quality) {
  if (setjmp(w.err.jump)) return false;
  jpeg_mem_dest(&w.cinfo, &w.buffer, &w.size);
  w.cinfo.image_width = static_cast<JDIMENSION>(image->width);
  w.cinfo.image_height = static_cast<JDIMENSION>(image->height);
  w.cinfo.input_components = 3;
  w.cinfo.in_color_space = image->order == ChannelOrder::BGR ? JCS_EXT_BGR : JCS_EXT_RGB;
  jpeg_set_defaults(&w.cinfo);
  jpeg_set_quality(&w.cinfo, quality, TRUE);
  // Full colour resolution: views hold thin coloured lines and small labels.
  for (int c = 0; c < w.cinfo.num_components; ++c) w.cinfo.comp_info[c].h_samp_factor = w.cinfo.comp_info[c].v_samp_factor = 1;
  jpeg_start_compress(&w.cinfo, TRUE);
  while (w.cinfo.next_scanline < w.cinfo.image_height) {
    JSAMPROW line = const_cast<JSAMPROW>(image->row(static_cast<int32_t>(w.cinfo.image_height - 1 - w.cinfo.next_scanline)));
    jpeg_write_scanlines(&w.cinfo, &line, 1);
  }
  jpeg_finish_compress(&w.cinfo);
  return true;
}

}  // namespace

DecodeResult decodeJpeg(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8)
    return decodeFailure(DecodeStatus::NotAnImage, "not a JPEG file");
  Reader r;
  installErrors(reinterpret_cast<jpeg_common_struct*>(&r.cinfo), r.err);
  jpeg_create_decompress(&r.cinfo);
  // libjpeg keeps the whole coefficient buffer of progressive files: bound it.
  r.cinfo.mem->max_memory_to_use = 1024L * 1024L * 1024L;
  DecodeResult result;
  std::vector<uint8_t> cmykLine;
  bool ok = readHeader(r, bytes.data(), bytes.size());
  if (ok) {
    ok = allocateImage(result.image, r.cinfo.image_width, r.cinfo.image_height, limits, result);
    if (!ok) {
      jpeg_destroy_decompress(&r.cinfo);
      return result;
    }
    if (r.cinfo.out_color_space == JCS_CMYK) cmykLine.resize(static_cast<size_t>(result.image.width) * 4);
    ok = readLines(r, &result.image, cmykLine.data());
  }
  jpeg_destroy_decompress(&r.cinfo);
  if (!ok) return decodeFailure(DecodeStatus::BadImage, std::string("JPEG: ") + r.err.message);
  result.status = DecodeStatus::Ok;
  return result;
}

bool encodeJpeg(const ImageView& image, int quality, std::vector<uint8_t>& out, std::string& error) {
  if (!validView(image, error)) return false;
  if (image.width > 65500 || image.height > 65500) {
    error = "the image is too large for a JPEG file";
    return false;
  }
  Writer w;
  installErrors(reinterpret_cast<jpeg_common_struct*>(&w.cinfo), w.err);
  jpeg_create_compress(&w.cinfo);
  const bool ok = writeLines(w, &image, quality);
  jpeg_destroy_compress(&w.cinfo);
  if (ok) out.assign(w.buffer, w.buffer + w.size);
  std::free(w.buffer);
  if (!ok) error = std::string("JPEG: ") + w.err.message;
  return ok;
}

}  // namespace vlm::codecs
