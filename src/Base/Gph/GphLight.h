#ifndef KOVO_BASE_GPH_GPHLIGHT_H
#define KOVO_BASE_GPH_GPHLIGHT_H

#include "Base/Gph/GphObject.h"

// One OpenGL light (its id is the light itself, such as GL_LIGHT0), placed at the object's
// position. Drawing an active light sets every property it has and switches it on;
// drawing an inactive one switches it off. Absent arrays leave OpenGL's values alone.
class GphLight : public GphObject {
public:
    GphLight();
    // Every array may be null; the light keeps copies of those given.
    GphLight(const ShpCoord* coord, int id, const float* position, const float* ambient,
             const float* diffuse, const float* specular, const float* spotDirection,
             float spotExponent, float spotAngle);
    GphLight(const GphLight& other);
    GphLight& operator=(const GphLight& other);

    ~GphLight() override;
    bool isVisible() override;
    int draw() override;
    // The "<LIGHT>" block; the caller has taken the opening tag.
    int read(std::istream& in) override;
    int write(std::ostream& out) override;

    void activate() { _active = true; }
    void deactivate() { _active = false; }
    bool isActive() const { return _active; }
    void setId(int id) { _id = id; }
    const int& getId() const { return _id; }

    // The setters take over the array given (4 floats, 3 for the spot direction; it must
    // come from new[]) and delete the one held before.
    void setAmbient(float* ambient);
    float* getAmbient() const { return _ambient; }
    void setDiffuse(float* diffuse);
    float* getDiffuse() const { return _diffuse; }
    void setSpecular(float* specular);
    float* getSpecular() const { return _specular; }
    void setSpotDirection(float* direction);
    float* getSpotDirection() const { return _spotDirection; }
    void setSpotExponent(float exponent) { _spotExponent = exponent; }
    float getSpotExponent() const { return _spotExponent; }
    // The cut-off in degrees; a negative angle leaves OpenGL's cut-off alone.
    void setSpotAngle(float degrees) { _spotAngle = degrees; }
    float getSpotAngle() const { return _spotAngle; }

private:
    void copyArrays(const GphLight& other);
    void deleteArrays();

    bool _active;
    int _id;
    float* _position;
    float* _ambient;
    float* _diffuse;
    float* _specular;
    float* _spotDirection;
    float _spotExponent;
    float _spotAngle;
};

#endif
