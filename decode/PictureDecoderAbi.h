#pragma once

// What the picture decoder module offers a program that loads it on demand:
// one entry point returning a table of functions. Plain C types only, so
// that the command-line tool loads it without any Qt header or library.

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Raised whenever the table or the structure below changes shape.
#define VEILNOTE_DECODER_VERSION 1
#define VEILNOTE_DECODER_ENTRY "veilnote_picture_decoder"
#define VEILNOTE_DECODER_FILE "libveilnote-decoder.so"

typedef struct VeilnotePicture {
    // The picture as it is shown: upright, so after its orientation.
    int64_t width;
    int64_t height;
    // Whether the picture's pixel format can hold transparency (known from
    // the headers; only decoding shows whether any pixel uses it).
    int mayHaveAlpha;
    // After decoding only: rows top row first, `stride` bytes apart, each
    // pixel red, green, blue, alpha; in sRGB, alpha not premultiplied.
    const uint8_t* rgba;
    int64_t stride;
    // The kind, as people know it ("JPEG"); and why it failed, for the user
    // (empty when it did not).
    char kind[32];
    char failure[256];
    void* owner;  // the decoder's own; released by release()
} VeilnotePicture;

typedef struct VeilnoteDecoder {
    int version;
    // Reads only the headers of the picture in `data`: kind and size.
    // Nonzero when it is a picture the decoder reads.
    int (*probe)(const uint8_t* data, size_t size, VeilnotePicture* picture);
    // Decodes the picture's first frame or page. Nonzero on success; then
    // release() must be called.
    int (*decode)(const uint8_t* data, size_t size, VeilnotePicture* picture);
    void (*release)(VeilnotePicture* picture);
} VeilnoteDecoder;

typedef const VeilnoteDecoder* (*VeilnoteDecoderEntry)(void);

#ifdef __cplusplus
}
#endif
