// One GIF file being written: GIF89a (or GIF87a) with a global colour table
// built from the raster, one interlaced image and a comment naming the
// program.
//
// The file appears only when it is complete: the bytes go to a temporary
// file beside it, which Terminate renames into place.
#pragma once

#include <string>
#include <vector>

#include "core/UserPrompt.h"
#include "formats/AtomicFile.h"
#include "render/GifColourTable.h"
#include "render/GifRaster.h"

namespace varnock {

class SGIFFile {
 public:
  SGIFFile(bool transparent, int width, int height, std::string productName, std::string versionText,
           UserPrompt& prompt);

  // Opens the file and writes the signature, the screen descriptor and the
  // colour table. An empty name, a file that cannot be created or a failed
  // colour count is reported and returns 0; nothing is written then.
  int Initialise(const std::string& fileName, const GifRaster& raster);
  // Writes the graphic control extension (GIF89a), the image descriptor and
  // the compressed pixels.
  int WriteImage(const GifRaster& raster, int delay);
  // Writes the comment (GIF89a) and the trailer and puts the file in place;
  // with `report`, tells "'%s'\n\nFile created". Returns 0 when the file
  // could not be written.
  int Terminate(bool report);

  // The pixel indices in the order written: rows top first, or in the four
  // interlace passes.
  std::vector<std::uint8_t> PixelIndices(const GifRaster& raster) const;
  // The comment text: "Image created using version %s of the %s application".
  std::string CommentText() const;

  bool gif87a = false;
  bool interlaced = true;
  int colourResolution = 8;

 private:
  bool transparent_;
  int width_, height_;
  std::string productName_, versionText_;
  UserPrompt& prompt_;
  std::string fileName_;
  GifColourTable colours_;
  AtomicFile file_;
  std::string bytes_;
};

}  // namespace varnock
