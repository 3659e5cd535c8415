#include "Base/Gph/GphObject.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdlib>
#include <new>
#include <string>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphBillboard.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphCone.h"
#include "Base/Gph/GphDisk.h"
#include "Base/Gph/GphLight.h"
#include "Base/Gph/GphPoint.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphSphere.h"
#include "Base/Gph/GphViewportPerspective.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"

namespace {

GphCamera* g_camera = nullptr;

// Builds a copy of the class named by a type code, when the object really is one.
template <class T>
GphObject* copyAs(const GphObject& source)
{
    const T* typed = dynamic_cast<const T*>(&source);
    if (!typed) {
        LOG("ERROR! Unsupported object type!");
        return nullptr;
    }
    return new T(*typed);
}

// Takes every token up to and including the closing tag.
int skipBlock(std::istream& in, const std::string& closingTag)
{
    std::string token;
    while (TaggedText::readToken(in, token)) {
        if (token == closingTag) return 0;
    }
    return -1;
}

}  // namespace

void GphObject::init(int type, GphAnimatedTexture* texture)
{
    _viewWidth = 0;
    _viewHeight = 0;
    _halfViewWidth = 0;
    _halfViewHeight = 0;
    _coord = new (std::nothrow) ShpCoord();
    if (!_coord) {
        KOVO_NEW_FAILED();
    }
    _type = type;
    _animatedTexture = texture;
    _orientAngle = 0;
    _orientX = 0;
    _orientY = 0;
    _orientZ = 0;
    _rotAngle = 0;
    _rotX = 0;
    _rotY = 0;
    _rotZ = 0;
    _alpha = 1.0f;
}

GphObject::GphObject(int type)
{
    init(type, nullptr);
}

GphObject::GphObject(int type, const ShpCoord* coord, GphAnimatedTexture* texture)
{
    init(type, texture);
    if (coord) {
        *_coord = *coord;
        computeViewExtent();
    }
}

GphObject::GphObject(const GphObject& other)
{
    init(GPH_NO_TYPE, nullptr);
    *this = other;
}

GphObject& GphObject::operator=(const GphObject& other)
{
    if (this == &other) return *this;
    _type = other._type;
    _orientAngle = other._orientAngle;
    _orientX = other._orientX;
    _orientY = other._orientY;
    _orientZ = other._orientZ;
    _rotAngle = other._rotAngle;
    _rotX = other._rotX;
    _rotY = other._rotY;
    _rotZ = other._rotZ;
    _alpha = other._alpha;
    _animatedTexture = other._animatedTexture;
    if (other._coord) {
        *_coord = *other._coord;
        computeViewExtent();
    }
    return *this;
}

GphObject::~GphObject()
{
    delete _coord;
}

void GphObject::updateGeometry() {}

void GphObject::setCoord(const ShpCoord& coord)
{
    *_coord = coord;
    computeViewExtent();
}

void GphObject::move(double dx, double dy, double dz)
{
    _coord->translate(dx, dy, dz);
    if (dz > 0) computeViewExtent();
}

void GphObject::setOrientation(double angle, double x, double y, double z)
{
    _orientAngle = angle;
    _orientX = x;
    _orientY = y;
    _orientZ = z;
    updateGeometry();
}

void GphObject::getOrientation(double& angle, double& x, double& y, double& z) const
{
    angle = _orientAngle;
    x = _orientX;
    y = _orientY;
    z = _orientZ;
}

void GphObject::rotate(double angle)
{
    _rotAngle += angle;
    updateGeometry();
}

void GphObject::setRotationAxis(double x, double y, double z)
{
    _rotX = x;
    _rotY = y;
    _rotZ = z;
}

void GphObject::getRotation(double& angle, double& x, double& y, double& z) const
{
    angle = _rotAngle;
    x = _rotX;
    y = _rotY;
    z = _rotZ;
}

void GphObject::setAlpha(float alpha)
{
    if (alpha > 1.0f) {
        _alpha = 1.0f;
    } else if (alpha < 0.0f) {
        _alpha = 0.0f;
    } else {
        _alpha = alpha;
    }
}

GphObject* GphObject::clone() const
{
    switch (_type) {
    case GPH_BILLBOARD: return copyAs<GphBillboard>(*this);
    case GPH_CONE: return copyAs<GphCone>(*this);
    case GPH_DISK: return copyAs<GphDisk>(*this);
    case GPH_LIGHT: return copyAs<GphLight>(*this);
    case GPH_POINT: return copyAs<GphPoint>(*this);
    case GPH_RECT: return copyAs<GphRect>(*this);
    case GPH_SPHERE: return copyAs<GphSphere>(*this);
    case GPH_RESERVED: return nullptr;
    default:
        LOG("ERROR! Unsupported object type!");
        return nullptr;
    }
}

void GphObject::setCamera(GphCamera* camera)
{
    g_camera = camera;
}

GphCamera* GphObject::getCamera()
{
    return g_camera;
}

void GphObject::getCameraPosition(double& x, double& y, double& z)
{
    x = y = z = 0;
    if (g_camera && g_camera->getPosition()) g_camera->getPosition()->get(x, y, z);
}

void GphObject::computeViewExtent()
{
    if (!g_camera) return;
    GphViewport* viewport = g_camera->getViewport();
    if (!viewport) return;
    if (GphViewportPerspective* perspective = dynamic_cast<GphViewportPerspective*>(viewport)) {
        // What the frustum shows at the object's distance from the camera.
        double camX, camY, camZ;
        getCameraPosition(camX, camY, camZ);
        const int width = perspective->getWidth();
        const int height = perspective->getHeight();
        const double distance = std::fabs(_coord->getZ() - camZ);
        const double halfAngle = perspective->getFovy() * M_PI / 180.0 / 2.0;
        _viewHeight = 2.0 * distance * std::tan(halfAngle);
        _viewWidth = height > 0 ? _viewHeight * width / height : 0;
    } else {
        _viewWidth = viewport->getRight() - viewport->getLeft();
        _viewHeight = viewport->getTop() - viewport->getBottom();
    }
    _halfViewWidth = _viewWidth / 2;
    _halfViewHeight = _viewHeight / 2;
}

void GphObject::loadModelView(bool withRotations) const
{
    double camX, camY, camZ;
    getCameraPosition(camX, camY, camZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(static_cast<float>(_coord->getX() - camX), static_cast<float>(_coord->getY() - camY),
                 static_cast<float>(_coord->getZ() - camZ));
    if (!withRotations) return;
    glRotatef(static_cast<float>(_orientAngle), static_cast<float>(_orientX),
              static_cast<float>(_orientY), static_cast<float>(_orientZ));
    glRotatef(static_cast<float>(_rotAngle), static_cast<float>(_rotX), static_cast<float>(_rotY),
              static_cast<float>(_rotZ));
}

bool GphObject::isBoxVisible(double halfX, double halfY) const
{
    double camX, camY, camZ;
    getCameraPosition(camX, camY, camZ);
    const double x = _coord->getX();
    const double y = _coord->getY();
    return camX - _halfViewWidth <= x + halfX && camX + _halfViewWidth >= x - halfX &&
           camY - _halfViewHeight <= y + halfY && camY + _halfViewHeight >= y - halfY;
}

GLUquadric* GphObject::newQuadric()
{
    GLUquadric* quadric = gluNewQuadric();
    if (quadric == nullptr) {
        KOVO_NEW_FAILED();
    }
    return quadric;
}

void GphObject::prepareQuadric(GLUquadric* quadric, GphWindow* window) const
{
    if (_animatedTexture != nullptr) {
        window->enableTexturing();
        gluQuadricTexture(quadric, GL_TRUE);
        _animatedTexture->bind();
    }
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
}

bool GphObject::beginSolidDraw(GphWindow* window) const
{
    static const GLfloat kSpecular[] = {0.4f, 0.4f, 0.4f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 128.0f);

    const bool translucent = _alpha < 1.0f;
    if (translucent) {
        window->enableBlending();
        glColor4f(1.0f, 1.0f, 1.0f, _alpha);
    }
    return translucent;
}

void GphObject::finishSolidDraw(GphWindow* window, bool blended)
{
    if (blended) window->disableBlending();
    window->disableTexturing();
    glFlush();
}

int GphObject::writeBaseAndClose(std::ostream& out, const char* closingTag)
{
    const int result = GphObject::write(out);
    if (result == 0) out << closingTag;
    out.flush();
    return result;
}

int GphObject::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</BASE_GRAPHIC>", [&](const std::string& tag) {
        if (tag == "<ANIMATED_TEXTURE>") {
            // The object does not own its look; without one the block has nowhere to go
            // and is passed over.
            if (!_animatedTexture) {
                LOG("No animated texture to read into; block skipped");
                return skipBlock(in, "</ANIMATED_TEXTURE>");
            }
            return _animatedTexture->read(in);
        }
        if (tag == "<COORD>") {
            const int result = _coord->read(in);
            if (result == 0) computeViewExtent();
            return result;
        }
        if (tag == "<ORIENT_ANGLE>") return TaggedText::readValue(in, _orientAngle);
        if (tag == "<ORIENT_X>") return TaggedText::readValue(in, _orientX);
        if (tag == "<ORIENT_Y>") return TaggedText::readValue(in, _orientY);
        if (tag == "<ORIENT_Z>") return TaggedText::readValue(in, _orientZ);
        if (tag == "<ANGLE>") return TaggedText::readValue(in, _rotAngle);
        if (tag == "<AXIS_X>") return TaggedText::readValue(in, _rotX);
        if (tag == "<AXIS_Y>") return TaggedText::readValue(in, _rotY);
        if (tag == "<AXIS_Z>") return TaggedText::readValue(in, _rotZ);
        if (tag == "<ALPHA>") return TaggedText::readValue(in, _alpha);
        return TaggedText::kUnknownTag;
    });
}

int GphObject::write(std::ostream& out)
{
    out << "<BASE_GRAPHIC>\n";
    TaggedText::writeField(out, "ORIENT_ANGLE", _orientAngle);
    TaggedText::writeField(out, "ORIENT_X", _orientX);
    TaggedText::writeField(out, "ORIENT_Y", _orientY);
    TaggedText::writeField(out, "ORIENT_Z", _orientZ);
    TaggedText::writeField(out, "ANGLE", _rotAngle);
    TaggedText::writeField(out, "AXIS_X", _rotX);
    TaggedText::writeField(out, "AXIS_Y", _rotY);
    TaggedText::writeField(out, "AXIS_Z", _rotZ);
    TaggedText::writeField(out, "ALPHA", _alpha);
    int result = _coord->write(out);
    if (result == 0 && _animatedTexture) result = _animatedTexture->write(out);
    if (result == 0) out << "</BASE_GRAPHIC>\n";
    out.flush();
    return result;
}
