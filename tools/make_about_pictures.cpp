// Draws the about-box pictures (800 x 600, one per language) and the application icon.
// Usage: make_about_pictures <output folder> <version>
#include <cmath>
#include <cstdio>
#include <numbers>

#include <QConicalGradient>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

namespace {

constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;
constexpr int kIconSize = 256;

struct Texts {
    const char* file;
    const char* tagline;
    const char* detail;
    const char* versionWord;
};

const Texts kEnglish = {"about_en.png", "Colour gamuts of ICC profiles, in three dimensions",
                        "Up to four profiles in one rotatable L*a*b* view", "Version"};
const Texts kFrench = {"about_fr.png", "Les gamuts des profils ICC, en trois dimensions",
                       "Jusqu'à quatre profils dans une vue L*a*b* orientable", "Version"};

// A hexagonal gamut outline in the a*b* plane: the six primaries and secondaries at their
// hue angles, radii loosely those of a display profile.
QPainterPath GamutOutline(QPointF centre, double scale, double squash)
{
    static const double hueDegrees[] = {40, 100, 136, 196, 306, 328};
    static const double radius[] = {1.0, 0.92, 0.95, 0.62, 1.05, 0.98};
    QPainterPath path;
    for (int i = 0; i <= 6; ++i) {
        const int k = i % 6;
        const double angle = hueDegrees[k] * std::numbers::pi / 180.0;
        const QPointF p(centre.x() + std::cos(angle) * radius[k] * scale,
                        centre.y() - std::sin(angle) * radius[k] * scale * squash);
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void DrawGamut(QPainter& painter, QPointF centre, double scale)
{
    const double squash = 0.55; // seen obliquely, as in the 3D view
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    // The shape's flanks: a few stacked slices shrinking towards white and black.
    for (int slice = -4; slice <= 4; ++slice) {
        const double t = slice / 5.0;
        const double s = scale * std::sqrt(1.0 - t * t);
        const QPointF c(centre.x(), centre.y() - t * scale * 0.9);
        QPainterPath outline = GamutOutline(c, s, squash);
        QColor edge = QColor::fromHslF(0.0, 0.0, 0.5 + t * 0.45, 0.35);
        painter.setPen(QPen(edge, 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(outline);
    }

    // The equator: a hue wheel fading to neutral at the middle.
    QPainterPath equator = GamutOutline(centre, scale, squash);
    QConicalGradient hues(centre, 0);
    for (int i = 0; i <= 12; ++i)
        hues.setColorAt(i / 12.0, QColor::fromHsvF(std::fmod(i / 12.0, 1.0), 0.85, 1.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(hues);
    painter.drawPath(equator);
    QRadialGradient neutral(centre, scale * 0.9);
    neutral.setColorAt(0.0, QColor(235, 235, 235, 235));
    neutral.setColorAt(1.0, QColor(235, 235, 235, 0));
    painter.setBrush(neutral);
    painter.drawPath(equator);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(equator);

    // A smaller printing gamut inside, dashed.
    QPen dashed(QColor(20, 20, 30, 200), 1.6, Qt::DashLine);
    painter.setPen(dashed);
    painter.drawPath(GamutOutline(centre, scale * 0.68, squash));

    // L* axis through the middle.
    painter.setPen(QPen(QColor(250, 250, 250, 220), 1.5));
    painter.drawLine(QPointF(centre.x(), centre.y() - scale * 1.05), QPointF(centre.x(), centre.y() + scale * 1.05));
    QFont axisFont(QStringLiteral("DejaVu Sans"), 11);
    painter.setFont(axisFont);
    painter.drawText(QPointF(centre.x() + 6, centre.y() - scale * 1.0), QStringLiteral("L*"));
    painter.drawText(QPointF(centre.x() + scale * 1.08, centre.y() + 4), QStringLiteral("a*"));
    painter.drawText(QPointF(centre.x() - scale * 0.35, centre.y() + scale * squash + 18), QStringLiteral("b*"));
    painter.restore();
}

void FillBackground(QPainter& painter, QRect area)
{
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(18, 24, 44));
    sky.setColorAt(1.0, QColor(46, 30, 58));
    painter.fillRect(area, sky);
}

bool DrawPicture(const QString& folder, const Texts& texts, const QString& version)
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    FillBackground(painter, image.rect());
    DrawGamut(painter, QPointF(560, 330), 170);

    painter.setPen(QColor(245, 240, 230));
    QFont title(QStringLiteral("DejaVu Serif"), 64, QFont::Bold);
    painter.setFont(title);
    painter.drawText(QRect(48, 120, 420, 110), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillon"));

    painter.setPen(QColor(220, 200, 150));
    QFont tagline(QStringLiteral("DejaVu Sans"), 15);
    painter.setFont(tagline);
    painter.drawText(QRect(52, 240, 330, 80), Qt::AlignLeft | Qt::TextWordWrap, QString::fromUtf8(texts.tagline));

    painter.setPen(QColor(190, 190, 210));
    QFont detail(QStringLiteral("DejaVu Sans"), 11);
    painter.setFont(detail);
    painter.drawText(QRect(52, 330, 330, 60), Qt::AlignLeft | Qt::TextWordWrap, QString::fromUtf8(texts.detail));
    painter.drawText(QRect(52, 530, 330, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("%1 %2").arg(QString::fromUtf8(texts.versionWord), version));
    painter.end();
    return image.save(QDir(folder).filePath(QString::fromUtf8(texts.file)), "PNG");
}

bool DrawIcon(const QString& folder)
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath disc;
    disc.addRoundedRect(QRectF(8, 8, kIconSize - 16, kIconSize - 16), 40, 40);
    painter.setClipPath(disc);
    FillBackground(painter, image.rect());
    DrawGamut(painter, QPointF(kIconSize / 2.0, kIconSize / 2.0 + 6), kIconSize * 0.36);
    painter.end();
    return image.save(QDir(folder).filePath(QStringLiteral("icon.png")), "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output folder> <version>\n", argv[0]);
        return 2;
    }
    // Text drawing needs a GUI application; no display is required to paint into images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString version = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = DrawPicture(folder, kEnglish, version) && DrawPicture(folder, kFrench, version) && DrawIcon(folder);
    if (!ok)
        std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
    return ok ? 0 : 1;
}
