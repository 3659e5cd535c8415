#include "Base/Gph/GphLight.h"

#include <GL/gl.h>

#include <new>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"

namespace {

float* newArray(int size)
{
    float* array = new (std::nothrow) float[size];
    if (array == nullptr) {
        KOVO_NEW_FAILED();
    }
    return array;
}

// A fresh copy of `size` floats, or null for a null source.
float* copyOf(const float* source, int size)
{
    if (source == nullptr) return nullptr;
    float* array = newArray(size);
    for (int i = 0; i < size; ++i) array[i] = source[i];
    return array;
}

// Reads `size` floats and the field's closing token into `array`, allocated when absent.
int readArray(std::istream& in, float*& array, int size)
{
    float values[4];
    for (int i = 0; i < size; ++i) {
        if (!(in >> values[i])) return -1;
    }
    std::string closing;
    if (!TaggedText::readToken(in, closing)) return -1;
    if (array == nullptr) array = newArray(size);
    for (int i = 0; i < size; ++i) array[i] = values[i];
    return 0;
}

void writeArray(std::ostream& out, const char* name, const float* array, int size)
{
    if (array == nullptr) return;
    out << '<' << name << ">\n";
    for (int i = 0; i < size; ++i) out << array[i] << '\n';
    out << "</" << name << ">\n";
}

void replace(float*& held, float* given)
{
    if (held != given) delete[] held;
    held = given;
}

}  // namespace

GphLight::GphLight()
    : GphObject(GPH_LIGHT),
      _active(true),
      _id(0),
      _position(nullptr),
      _ambient(nullptr),
      _diffuse(nullptr),
      _specular(nullptr),
      _spotDirection(nullptr),
      _spotExponent(0.0f),
      _spotAngle(0.0f)
{
}

GphLight::GphLight(const ShpCoord* coord, int id, const float* position, const float* ambient,
                   const float* diffuse, const float* specular, const float* spotDirection,
                   float spotExponent, float spotAngle)
    : GphObject(GPH_LIGHT, coord, nullptr),
      _active(true),
      _id(id),
      _position(copyOf(position, 4)),
      _ambient(copyOf(ambient, 4)),
      _diffuse(copyOf(diffuse, 4)),
      _specular(copyOf(specular, 4)),
      _spotDirection(copyOf(spotDirection, 3)),
      _spotExponent(spotExponent),
      _spotAngle(spotAngle)
{
}

GphLight::GphLight(const GphLight& other) : GphLight()
{
    *this = other;
}

GphLight& GphLight::operator=(const GphLight& other)
{
    if (this == &other) return *this;
    _active = other._active;
    _id = other._id;
    deleteArrays();
    copyArrays(other);
    _spotExponent = other._spotExponent;
    _spotAngle = other._spotAngle;
    GphObject::operator=(other);
    return *this;
}

GphLight::~GphLight()
{
    deleteArrays();
}

void GphLight::copyArrays(const GphLight& other)
{
    _position = copyOf(other._position, 4);
    _ambient = copyOf(other._ambient, 4);
    _diffuse = copyOf(other._diffuse, 4);
    _specular = copyOf(other._specular, 4);
    _spotDirection = copyOf(other._spotDirection, 3);
}

void GphLight::deleteArrays()
{
    delete[] _position;
    delete[] _ambient;
    delete[] _diffuse;
    delete[] _specular;
    delete[] _spotDirection;
    _position = _ambient = _diffuse = _specular = _spotDirection = nullptr;
}

void GphLight::setAmbient(float* ambient)
{
    replace(_ambient, ambient);
}

void GphLight::setDiffuse(float* diffuse)
{
    replace(_diffuse, diffuse);
}

void GphLight::setSpecular(float* specular)
{
    replace(_specular, specular);
}

void GphLight::setSpotDirection(float* direction)
{
    replace(_spotDirection, direction);
}

bool GphLight::isVisible()
{
    return _active;
}

int GphLight::draw()
{
    // Only the lights OpenGL has can be set; any other id would leave an OpenGL error.
    GLint lights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &lights);
    if (_id < GL_LIGHT0 || _id >= GL_LIGHT0 + lights) {
        LOG("ERROR! No OpenGL light has the id " << _id);
        return -1;
    }
    const GLenum light = static_cast<GLenum>(_id);
    if (!_active) {
        glDisable(light);
        return 0;
    }
    loadModelView(true);
    if (_ambient != nullptr) glLightfv(light, GL_AMBIENT, _ambient);
    if (_diffuse != nullptr) glLightfv(light, GL_DIFFUSE, _diffuse);
    if (_specular != nullptr) glLightfv(light, GL_SPECULAR, _specular);
    // Taken through the model-view matrix, so relative to the light's own coordinate.
    if (_position != nullptr) glLightfv(light, GL_POSITION, _position);
    if (_spotDirection != nullptr) glLightfv(light, GL_SPOT_DIRECTION, _spotDirection);
    if (_spotAngle >= 0.0f) glLightf(light, GL_SPOT_CUTOFF, _spotAngle);
    if (_spotExponent >= 0.0f) glLightf(light, GL_SPOT_EXPONENT, _spotExponent);
    glEnable(light);
    return 0;
}

int GphLight::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</LIGHT>", [&](const std::string& tag) {
        if (tag == "<ACTIVE>") return TaggedText::readValue(in, _active);
        if (tag == "<ID>") return TaggedText::readValue(in, _id);
        if (tag == "<POSITION>") return readArray(in, _position, 4);
        if (tag == "<AMBIENT_COLOR>") return readArray(in, _ambient, 4);
        if (tag == "<DIFFUSE_COLOR>") return readArray(in, _diffuse, 4);
        if (tag == "<SPECULAR_COLOR>") return readArray(in, _specular, 4);
        if (tag == "<SPOT_DIRECTION>") return readArray(in, _spotDirection, 3);
        if (tag == "<SPOT_EXPONENT>") return TaggedText::readValue(in, _spotExponent);
        if (tag == "<SPOT_ANGLE>") return TaggedText::readValue(in, _spotAngle);
        if (tag == "<BASE_GRAPHIC>") return GphObject::read(in);
        return TaggedText::kUnknownTag;
    });
}

int GphLight::write(std::ostream& out)
{
    out << "<LIGHT>\n";
    TaggedText::writeField(out, "ACTIVE", _active ? 1 : 0);
    TaggedText::writeField(out, "ID", _id);
    writeArray(out, "POSITION", _position, 4);
    writeArray(out, "AMBIENT_COLOR", _ambient, 4);
    writeArray(out, "DIFFUSE_COLOR", _diffuse, 4);
    writeArray(out, "SPECULAR_COLOR", _specular, 4);
    writeArray(out, "SPOT_DIRECTION", _spotDirection, 3);
    TaggedText::writeField(out, "SPOT_EXPONENT", _spotExponent);
    TaggedText::writeField(out, "SPOT_ANGLE", _spotAngle);
    const int result = GphObject::write(out);
    if (result == 0) out << "</LIGHT>\n";
    out << std::flush;
    return result;
}
