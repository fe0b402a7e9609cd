// Draws the sample symbols a new user finds in the symbol folder, as 150 x 150
// monochrome bitmaps, into the folder given:
//   quillory_make_sample_symbols FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 150;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsOffset = kFileHeaderSize + kInfoHeaderSize + 2 * 4;
constexpr double kPi = 3.14159265358979323846;

struct Point {
    double x;
    double y;
};

double DistanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool NearPolyline(Point p, const std::vector<Point>& line, double halfWidth) {
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        if (DistanceToSegment(p, line[i], line[i + 1]) <= halfWidth) return true;
    }
    return false;
}

bool InsidePolygon(Point p, const std::vector<Point>& polygon) {
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

bool Check(Point p) {
    return NearPolyline(p, {{28, 80}, {62, 114}, {124, 38}}, 10);
}

bool Star(Point p) {
    std::vector<Point> corners;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 ? 28 : 68;
        const double angle = -kPi / 2 + i * kPi / 5;
        corners.push_back({75 + radius * std::cos(angle), 80 + radius * std::sin(angle)});
    }
    return InsidePolygon(p, corners);
}

bool Heart(Point p) {
    const double x = (p.x - 75) / 60;
    const double y = (70 - p.y) / 60;
    const double a = x * x + y * y - 1;
    return a * a * a - x * x * y * y * y <= 0;
}

bool Warning(Point p) {
    const std::vector<Point> outline = {{75, 14}, {138, 128}, {12, 128}, {75, 14}};
    const bool mark = NearPolyline(p, {{75, 52}, {75, 92}}, 6) || std::hypot(p.x - 75, p.y - 110) <= 7;
    return NearPolyline(p, outline, 6) || mark;
}

bool Arrow(Point p) {
    const bool shaft = p.x >= 18 && p.x <= 90 && std::abs(p.y - 75) <= 14;
    const bool head = p.x > 80 && p.x <= 134 && std::abs(p.y - 75) <= (134 - p.x) * 0.95;
    return shaft || head;
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// One bit per pixel, rows bottom-up, colour 0 black ink and colour 1 white paper.
std::vector<uint8_t> Bitmap(bool (*ink)(Point)) {
    const uint32_t rowBytes = (kSide + 31) / 32 * 4;
    std::vector<uint8_t> file(kPixelsOffset + rowBytes * kSide, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(file.size()));
    Put32(file, 10, kPixelsOffset);
    const size_t info = kFileHeaderSize;
    Put32(file, info, kInfoHeaderSize);
    Put32(file, info + 4, kSide);
    Put32(file, info + 8, kSide);
    file[info + 12] = 1;  // planes
    file[info + 14] = 1;  // bits per pixel
    Put32(file, info + 20, rowBytes * kSide);
    Put32(file, info + 32, 2);
    const size_t white = info + kInfoHeaderSize + 4;
    file[white] = file[white + 1] = file[white + 2] = 0xFF;
    for (int y = 0; y < kSide; ++y) {
        uint8_t* row = file.data() + kPixelsOffset + (kSide - 1 - y) * rowBytes;
        for (int x = 0; x < kSide; ++x) {
            if (!ink({x + 0.5, y + 0.5})) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: quillory_make_sample_symbols FOLDER\n", stderr);
        return 2;
    }
    const struct {
        const char* name;
        bool (*ink)(Point);
    } samples[] = {{"Check", Check}, {"Star", Star}, {"Heart", Heart}, {"Warning", Warning}, {"Arrow", Arrow}};
    for (const auto& sample : samples) {
        const std::string path = std::string(argv[1]) + "/" + sample.name + ".bmp";
        const std::vector<uint8_t> bytes = Bitmap(sample.ink);
        std::FILE* out = std::fopen(path.c_str(), "wb");
        const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (!out || std::fclose(out) != 0 || !written) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
