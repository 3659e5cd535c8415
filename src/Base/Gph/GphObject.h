#ifndef KOVO_BASE_GPH_GPHOBJECT_H
#define KOVO_BASE_GPH_GPHOBJECT_H

#include <istream>
#include <ostream>

class GphAnimatedTexture;
class GphCamera;
class GphWindow;
class ShpCoord;
struct GLUquadric;

// The class code of every concrete drawable; the copy factory builds by it.
enum GphObjectType {
    GPH_BILLBOARD = 0,
    GPH_CONE = 1,
    GPH_DISK = 2,
    GPH_LIGHT = 3,
    GPH_NO_TYPE = 4,  // what a copy starts from before the source's code is copied in
    GPH_POINT = 5,
    GPH_RECT = 6,     // also every particle of the game derived from the rectangle
    GPH_SPHERE = 7,
    GPH_RESERVED = 8  // known to the factory, no class: copies to null
};

// Base of every shape the engine draws: a position, two rotations (orientation first),
// an opacity, an optional animated texture that it never owns, and a cache of the view's
// extent at the object's depth, against which the visibility tests run.
class GphObject {
public:
    explicit GphObject(int type);
    GphObject(int type, const ShpCoord* coord, GphAnimatedTexture* texture);
    GphObject(const GphObject& other);
    GphObject& operator=(const GphObject& other);

    virtual ~GphObject();
    virtual bool isVisible() = 0;
    virtual int draw() = 0;
    // The "<BASE_GRAPHIC>" block; the caller has taken the opening tag.
    virtual int read(std::istream& in);
    virtual int write(std::ostream& out);
    // Called after the orientation or the rotation changed.
    virtual void updateGeometry();

    void setAnimatedTexture(GphAnimatedTexture* texture) { _animatedTexture = texture; }
    GphAnimatedTexture* getAnimatedTexture() const { return _animatedTexture; }
    int getType() const { return _type; }

    void setCoord(const ShpCoord& coord);
    ShpCoord* getCoord() const { return _coord; }
    void move(double dx, double dy, double dz);

    void setOrientation(double angle, double x, double y, double z);
    void getOrientation(double& angle, double& x, double& y, double& z) const;
    void rotate(double angle);
    void setRotationAxis(double x, double y, double z);
    void getRotation(double& angle, double& x, double& y, double& z) const;

    void setAlpha(float alpha);
    float getAlpha() const { return _alpha; }

    double getViewWidth() const { return _viewWidth; }
    double getViewHeight() const { return _viewHeight; }
    double getHalfViewWidth() const { return _halfViewWidth; }
    double getHalfViewHeight() const { return _halfViewHeight; }

    // A new object of this object's class, copied from it (the texture stays shared),
    // or null for a code without a class.
    GphObject* clone() const;

    // The camera against which every object tests its visibility and is drawn; the
    // window sets it whenever it builds its camera. May be null (then the origin).
    static void setCamera(GphCamera* camera);
    static GphCamera* getCamera();
    // The global camera's position, (0, 0, 0) without a camera.
    static void getCameraPosition(double& x, double& y, double& z);

protected:
    // Recomputes the view extent at the object's depth from the camera's viewport.
    void computeViewExtent();
    // Selects the model-view matrix and loads identity, the translation by the position
    // minus the camera's, then (when asked) the orientation and the rotation.
    void loadModelView(bool withRotations = true) const;
    // True when the box of the given half extents around the position meets the view
    // box around the camera; touching counts.
    bool isBoxVisible(double halfX, double halfY) const;

    // A new GLU quadric for a solid shape; no memory for one takes the fatal path.
    static GLUquadric* newQuadric();
    // A quadric filled, smoothly shaded and facing outward, with the animated texture (when
    // there is one) switched on and bound.
    void prepareQuadric(GLUquadric* quadric, GphWindow* window) const;
    // The solid shapes' (cone, disk, sphere) shiny material, and blending with the opacity
    // as the colour's alpha when the object is translucent; true when it turned blending on.
    bool beginSolidDraw(GphWindow* window) const;
    // Blending off again (when begun with it), texturing off, and the drawing flushed.
    static void finishSolidDraw(GphWindow* window, bool blended);
    // The tail of a shape's tagged form: the "<BASE_GRAPHIC>" block, then the closing tag when
    // that succeeded; the stream is flushed either way.
    int writeBaseAndClose(std::ostream& out, const char* closingTag);

    double _viewWidth;
    double _viewHeight;
    double _halfViewWidth;
    double _halfViewHeight;
    ShpCoord* _coord;
    int _type;
    GphAnimatedTexture* _animatedTexture;
    double _orientAngle;
    double _orientX;
    double _orientY;
    double _orientZ;
    double _rotAngle;
    double _rotX;
    double _rotY;
    double _rotZ;
    float _alpha;

private:
    void init(int type, GphAnimatedTexture* texture);
};

#endif
