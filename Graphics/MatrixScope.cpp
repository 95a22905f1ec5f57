#include "Graphics/MatrixScope.h"

#include <GLES/gl.h>

MatrixScope::MatrixScope()
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

MatrixScope::~MatrixScope()
{
    // The code inside may have left another matrix mode selected.
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
