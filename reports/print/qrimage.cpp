#include "reports/print/qrimage.h"

#include <QDebug>
#include <QPainter>
#include <QSvgRenderer>

#include <climits>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace {

const int QR_IMAGE_SIZE = 512;
const int QR_BORDER = 4;
// Qt's SVG reader drops a path past 32767 elements ("path truncated"), and
// each dark module costs five (move, three lines, close): a larger symbol
// would come out with modules missing and not scan.
const int SVG_MAX_DARK_MODULES = 32767 / 5;

int darkModules(const qrcodegen::QrCode &qr)
{
    int dark = 0;
    for (int y = 0; y < qr.getSize(); ++y)
        for (int x = 0; x < qr.getSize(); ++x)
            dark += qr.getModule(x, y) ? 1 : 0;
    return dark;
}

// The picture the SVG describes, drawn without the SVG reader.
void paintModules(QPainter *painter, const qrcodegen::QrCode &qr, int border, qreal side)
{
    const int n = qr.getSize() + border * 2;
    painter->save();
    painter->scale(side / n, side / n);
    painter->fillRect(QRectF(0, 0, n, n), Qt::white);
    for (int y = 0; y < qr.getSize(); ++y)
        for (int x = 0; x < qr.getSize(); ++x)
            if (qr.getModule(x, y))
                painter->fillRect(QRectF(x + border, y + border, 1, 1), Qt::black);
    painter->restore();
}

} // namespace

QString toSvgString(const qrcodegen::QrCode &qr, int border)
{
    if (border < 0)
        throw std::domain_error("Border must be non-negative");
    if (border > INT_MAX / 2 || border * 2 > INT_MAX - qr.getSize())
        throw std::overflow_error("Border too large");

    const int n = qr.getSize() + border * 2;
    std::ostringstream sb;
    sb << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    sb << "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n";
    sb << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" viewBox=\"0 0 " << n << " " << n
       << "\" stroke=\"none\">\n";
    sb << "\t<rect width=\"" << n << "\" height=\"" << n << "\" fill=\"#FFFFFF\"/>\n";
    sb << "\t<path d=\"";
    bool first = true;
    for (int y = 0; y < qr.getSize(); ++y) {
        for (int x = 0; x < qr.getSize(); ++x) {
            if (!qr.getModule(x, y))
                continue;
            if (!first)
                sb << " ";
            first = false;
            sb << "M" << (x + border) << "," << (y + border) << "h1v1h-1z";
        }
    }
    sb << "\" fill=\"#000000\"/>\n";
    sb << "</svg>\n";
    return QString::fromStdString(sb.str());
}

QImage makeQrImage(const QString &text)
{
    std::unique_ptr<qrcodegen::QrCode> qr;
    QString svg;
    try {
        const QByteArray utf8 = text.toUtf8();
        qr.reset(new qrcodegen::QrCode(
            qrcodegen::QrCode::encodeText(utf8.constData(), qrcodegen::QrCode::Ecc::HIGH)));
        svg = toSvgString(*qr, QR_BORDER);
    } catch (const std::exception &error) {
        qDebug() << "makeQrImage: no QR code for a text of" << text.size() << "characters:" << error.what();
        return QImage();
    }

    QImage image(QR_IMAGE_SIZE, QR_IMAGE_SIZE, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (darkModules(*qr) <= SVG_MAX_DARK_MODULES) {
        QSvgRenderer renderer(svg.toUtf8());
        renderer.render(&painter, QRectF(0, 0, QR_IMAGE_SIZE, QR_IMAGE_SIZE));
    } else {
        paintModules(&painter, *qr, QR_BORDER, QR_IMAGE_SIZE);
    }
    painter.end();
    image.save("img.png");
    return image;
}
