#include "movie_video.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#define STBI_ONLY_PNG
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 2;
constexpr int kFramesPerSecond = 30;

int Fail(const std::string& what, const std::string& problem) {
  std::fprintf(stderr, "zirn-render: %s: %s\n", what.c_str(), problem.c_str());
  return kExitFailed;
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

bool LoadPicture(const std::string& path, Picture* picture) {
  int width = 0, height = 0, channels = 0;
  std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
      stbi_load(path.c_str(), &width, &height, &channels, 3), stbi_image_free);
  if (pixels == nullptr) return false;
  picture->width = width;
  picture->height = height;
  picture->rgb.assign(pixels.get(), pixels.get() + static_cast<size_t>(width) * height * 3);
  return true;
}

// The source pixels an output pixel's span [from, from + span) covers, each
// with the share of the span it covers. The keyframe's pixels lie half a
// pixel off-centre around the centre point, so a span may reach half a pixel
// past an edge: the edge pixel stands in there.
struct Tap {
  int index;
  float weight;
};

std::vector<std::vector<Tap>> Taps(double from, double span, int outputs, int size) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(outputs));
  for (int i = 0; i < outputs; ++i) {
    const double begin = from + i * span, end = begin + span;
    for (int s = static_cast<int>(std::floor(begin)); s < end; ++s) {
      const double cover = std::min<double>(end, s + 1) - std::max<double>(begin, s);
      if (cover > 0) {
        taps[static_cast<size_t>(i)].push_back(
            {std::clamp(s, 0, size - 1), static_cast<float>(cover / span)});
      }
    }
  }
  return taps;
}

// The part of the keyframe `scale` times its height, around the movie's
// centre, averaged down to width x height. The centre lies at column
// width/2 + 1/2 and line height/2 - 1/2 of a keyframe, measured to pixel
// centres, where the keyframe's pixel grid puts it.
void CutFrame(const Picture& keyframe, double scale, int width, int height, uint8_t* out) {
  const double spanY = scale * keyframe.height / height;
  const double spanX = spanY;  // square pixels in keyframe and video
  const double centreX = keyframe.width / 2.0 + 0.5, centreY = keyframe.height / 2.0 - 0.5;
  const auto columns = Taps(centreX - spanX * width / 2, spanX, width, keyframe.width);
  const auto lines = Taps(centreY - spanY * height / 2, spanY, height, keyframe.height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float sum[3] = {0, 0, 0};
      for (const Tap& line : lines[static_cast<size_t>(y)]) {
        const uint8_t* row = &keyframe.rgb[static_cast<size_t>(line.index) * keyframe.width * 3];
        for (const Tap& column : columns[static_cast<size_t>(x)]) {
          const float weight = line.weight * column.weight;
          for (int c = 0; c < 3; ++c) sum[c] += weight * row[column.index * 3 + c];
        }
      }
      for (int c = 0; c < 3; ++c) {
        *out++ = static_cast<uint8_t>(std::clamp(std::lround(sum[c]), 0L, 255L));
      }
    }
  }
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
  if (text.size() < end.size()) return false;
  for (size_t i = 0; i < end.size(); ++i) {
    const char a = text[text.size() - end.size() + i];
    if (std::tolower(static_cast<unsigned char>(a)) != end[i]) return false;
  }
  return true;
}

std::string Quoted(const std::string& text) {
#ifdef _WIN32
  return "\"" + text + "\"";
#else
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
#endif
}

std::string FfmpegCommand(const std::string& output, int width, int height) {
  const std::string codec = EndsWithIgnoringCase(output, ".webm")
                                ? "-c:v libvpx-vp9 -crf 30 -b:v 0 -row-mt 1"
                                : "-c:v libx264 -crf 18 -movflags +faststart";
  return "ffmpeg -hide_banner -loglevel error -y -f rawvideo -pix_fmt rgb24 -s " +
         std::to_string(width) + "x" + std::to_string(height) + " -r " +
         std::to_string(kFramesPerSecond) + " -i - -an " + codec + " -pix_fmt yuv420p " +
         Quoted(output);
}

int EvenAtLeastTwo(double size) { return std::max(2, static_cast<int>(size) / 2 * 2); }

}  // namespace

int AssembleMovie(const MoviePlan& plan, const MovieOptions& options) {
  const int width =
      options.videoX > 0 ? options.videoX : EvenAtLeastTwo(plan.sizeX / options.settings.factor);
  const int height =
      options.videoY > 0 ? options.videoY : EvenAtLeastTwo(plan.sizeY / options.settings.factor);
  // Natural logarithms of the heights, which may lie far below the doubles.
  const std::vector<double>& logHeights = plan.logHeights;
  // The zoom in keyframes: one per factor, the last step to the target
  // by its own share.
  const double logFactor = std::log(options.settings.factor);
  const double zoom = (logHeights.front() - logHeights.back()) / logFactor;
  const long frames = std::lround(zoom * options.secondsPerKeyframe * kFramesPerSecond) + 1;

  if (!options.quiet) {
    std::fprintf(stderr, "zirn-render: %s: %ld frames of %dx%d from %zu keyframes\n",
                 options.video.c_str(), frames, width, height, logHeights.size());
  }
#ifndef _WIN32
  std::signal(SIGPIPE, SIG_IGN);  // an ffmpeg that stops early is reported, not fatal
#endif
  std::FILE* pipe = popen(FfmpegCommand(options.video, width, height).c_str(), "w");
  if (pipe == nullptr) return Fail(options.video, "ffmpeg cannot be started");

  std::vector<uint8_t> frame(static_cast<size_t>(width) * height * 3);
  Picture keyframe;
  size_t loaded = logHeights.size();
  int code = kExitSuccess;
  for (long t = 0; t < frames && code == kExitSuccess; ++t) {
    const double logShown = frames == 1
                                ? logHeights.back()
                                : logHeights.front() - (logHeights.front() - logHeights.back()) *
                                                           static_cast<double>(t) / (frames - 1);
    size_t k = 0;
    while (k + 1 < logHeights.size() && logHeights[k + 1] >= logShown + std::log1p(-1e-9)) ++k;
    if (k != loaded) {
      const std::string path = KeyframeStem(options.folder, k) + ".png";
      if (!LoadPicture(path, &keyframe)) {
        code = Fail(path, "cannot be read");
        break;
      }
      loaded = k;
    }
    CutFrame(keyframe, std::exp(logShown - logHeights[k]), width, height, frame.data());
    if (std::fwrite(frame.data(), 1, frame.size(), pipe) != frame.size()) {
      code = Fail(options.video, "ffmpeg stopped taking frames");
    }
  }
  const int status = pclose(pipe);
  if (code == kExitSuccess && status != 0) {
    code = Fail(options.video, "ffmpeg failed (is it installed? see its message above)");
  }
  if (code == kExitSuccess && !options.quiet) {
    std::fprintf(stderr, "zirn-render: %s: written\n", options.video.c_str());
  }
  return code;
}
