# end-to-end registration: filled in below
