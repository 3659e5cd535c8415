#ifndef KOVO_BASE_GPH_GPHVIEWPORT_H
#define KOVO_BASE_GPH_GPHVIEWPORT_H

class GphCamera;

// The OpenGL viewport and projection, and the rectangle of the world in view (its world
// bounds), kept in step with the camera: the bounds change whenever the camera moves or
// a projection value is set, and at no other time.
class GphViewport {
public:
    GphViewport(int x, int y, int width, int height, double near, double far);
    virtual ~GphViewport();
    GphViewport(const GphViewport&) = delete;
    GphViewport& operator=(const GphViewport&) = delete;

    // Loads the projection matrix, then leaves an identity model-view matrix selected.
    virtual void apply() = 0;
    // Recomputes the world bounds around the camera's position, truncated to whole units.
    virtual void updateBounds() = 0;
    virtual double getAspect() const = 0;

    void setRect(int x, int y, int width, int height);
    void getRect(int& x, int& y, int& width, int& height) const;
    void setNear(double near);
    void setFar(double far);
    double getNear() const { return _near; }
    double getFar() const { return _far; }
    int getWidth() const { return _width; }
    int getHeight() const { return _height; }

    // World bounds; y grows upward, so the top is greater than the bottom.
    double getLeft() const { return _left; }
    double getRight() const { return _right; }
    double getTop() const { return _top; }
    double getBottom() const { return _bottom; }

    // The camera around which every viewport computes its bounds.
    static void setCamera(GphCamera* camera);
    static GphCamera* getCamera();

protected:
    // The camera's x and y truncated toward zero; the origin when there is no camera.
    static void cameraCentre(double& cx, double& cy);
    // Sets the world bounds to the camera's centre plus and minus the half extents.
    void setBoundsAround(double halfWidth, double halfHeight);

    double _left;
    double _right;
    double _top;
    double _bottom;
    double _aspect;         // width / height
    double _aspectInverse;  // height / width
    int _width;
    int _height;
    int _x;
    int _y;
    double _near;
    double _far;

private:
    void computeAspect();
};

#endif
